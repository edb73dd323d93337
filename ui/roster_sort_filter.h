#pragma once

#include <QSortFilterProxyModel>
#include <QString>

namespace ui {

// The order a roster's tiles are shown in.
enum class RosterOrder { FileName, Identifier, Kind, PixelFormat, ProblemsFirst };

// The tiles of a roster that match the filter text (in the identifier or the
// file name, case ignored), in the order chosen; ties in file-name order.
class RosterSortFilter : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit RosterSortFilter(QObject* parent = nullptr);

  void setFilterText(const QString& text);
  void setOrder(RosterOrder order);
  RosterOrder order() const { return m_order; }

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  QString m_filterText;
  RosterOrder m_order = RosterOrder::FileName;
};

}  // namespace ui
