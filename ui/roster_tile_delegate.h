#pragma once

#include <QStyledItemDelegate>

namespace ui {

// Paints a roster's tile: the portrait's thumbnail on a checkerboard (or,
// instead of it, why there is none), the identifier and the file name.
class RosterTileDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr int TileWidth = 128;
  static constexpr int TileHeight = 156;

  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace ui
