#include "ui/roster_tile_delegate.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "ui/roster_model.h"

namespace ui {

namespace {

constexpr int Margin = 6;
constexpr int PictureSide = RosterModel::ThumbnailSide;

void drawCheckerboard(QPainter* painter, const QRect& area) {
  static const QBrush checker = [] {
    QImage tile(16, 16, QImage::Format_RGB32);
    tile.fill(QColor(0xf4, 0xf4, 0xf4));
    QPainter draw(&tile);
    draw.fillRect(0, 0, 8, 8, QColor(0xdc, 0xdc, 0xdc));
    draw.fillRect(8, 8, 8, 8, QColor(0xdc, 0xdc, 0xdc));
    return QBrush(tile);
  }();
  painter->save();
  painter->setBrushOrigin(area.topLeft());
  painter->fillRect(area, checker);
  painter->restore();
}

// A heading and the reason, in the place of the picture.
void drawProblem(QPainter* painter, const QRect& area, const QColor& tint, const QString& heading,
                 const QString& reason) {
  painter->save();
  painter->setPen(Qt::NoPen);
  painter->setBrush(tint.lighter(185));
  painter->drawRoundedRect(area, 4, 4);
  painter->setPen(tint.darker(140));
  QFont bold = painter->font();
  bold.setBold(true);
  painter->setFont(bold);
  const QRect text = area.adjusted(6, 6, -6, -6);
  const QRect headingRect =
      painter->boundingRect(text, Qt::AlignHCenter | Qt::TextWordWrap, heading);
  painter->drawText(text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, heading);
  QFont small = painter->font();
  small.setBold(false);
  small.setPointSizeF(small.pointSizeF() * 0.85);
  painter->setFont(small);
  painter->setPen(QColor(0x40, 0x40, 0x40));
  const QRect reasonRect = text.adjusted(0, headingRect.height() + 4, 0, 0);
  const QString shown =
      painter->fontMetrics().elidedText(reason, Qt::ElideRight, reasonRect.width() * 4);
  painter->drawText(reasonRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, shown);
  painter->restore();
}

}  // namespace

QSize RosterTileDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
  return {TileWidth, TileHeight};
}

void RosterTileDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  const QRect tile = option.rect.adjusted(2, 2, -2, -2);
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette& palette = option.palette;
  if (selected) {
    painter->setPen(QPen(palette.color(QPalette::Highlight), 2));
    painter->setBrush(palette.color(QPalette::Highlight).lighter(175));
    painter->drawRoundedRect(QRectF(tile).adjusted(1, 1, -1, -1), 6, 6);
  } else if (option.state & QStyle::State_MouseOver) {
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette.color(QPalette::Midlight));
    painter->drawRoundedRect(tile, 6, 6);
  }

  const QRect picture(tile.left() + (tile.width() - PictureSide) / 2, tile.top() + Margin,
                      PictureSide, PictureSide);
  using State = RosterModel::TileState;
  const auto state = index.data(RosterModel::StateRole).value<State>();
  const QString problem = index.data(RosterModel::ProblemRole).toString();
  const auto thumbnail = index.data(RosterModel::ThumbnailRole).value<QImage>();
  // A thumbnail dropped to bound the memory is being read again.
  const bool reading = state == State::Reading || (state == State::Good && thumbnail.isNull());
  switch (reading ? State::Reading : state) {
    case State::Reading:
      painter->setPen(Qt::NoPen);
      painter->setBrush(palette.color(QPalette::Window).darker(106));
      painter->drawRoundedRect(picture, 4, 4);
      break;
    case State::Refused:
      drawProblem(painter, picture, QColor(0xc0, 0x30, 0x30),
                  QCoreApplication::translate("RosterTile", "Cannot be loaded"), problem);
      break;
    case State::Undecodable:
      drawProblem(painter, picture, QColor(0xc0, 0x80, 0x10),
                  QCoreApplication::translate("RosterTile", "Portrait cannot be decoded"), problem);
      break;
    case State::Good: {
      QRect shown(QPoint(), thumbnail.size());
      shown.moveCenter(picture.center());
      drawCheckerboard(painter, shown);
      painter->drawImage(shown, thumbnail);
      break;
    }
  }

  const QRect identifierLine(tile.left() + 4, picture.bottom() + 5, tile.width() - 8,
                             option.fontMetrics.height());
  QFont bold = option.font;
  bold.setBold(true);
  painter->setFont(bold);
  painter->setPen(palette.color(QPalette::Text));
  const QString identifier = index.data(RosterModel::IdentifierRole).toString();
  painter->drawText(identifierLine, Qt::AlignCenter,
                    identifier.isEmpty() ? QStringLiteral("\u2014") : identifier);

  painter->setFont(option.font);
  painter->setPen(palette.color(QPalette::PlaceholderText));
  const QRect nameLine = identifierLine.translated(0, identifierLine.height() + 1);
  painter->drawText(nameLine, Qt::AlignCenter,
                    option.fontMetrics.elidedText(index.data(RosterModel::FileNameRole).toString(),
                                                  Qt::ElideMiddle, nameLine.width()));
  painter->restore();
}

}  // namespace ui
