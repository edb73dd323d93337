#include "tools/icon_painter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>
#include <QtMath>
#include <cmath>

#include "ui/skin_layout.h"

namespace ProgramIcon {
namespace {

const QPointF BallCentre(32, 28);
constexpr double BallRadius = 20;
// The curved seams are arcs of circles as large as the ball, this far left and right of it.
constexpr double SeamOffset = 14;

const QColor BallBrown(226, 112, 34);
const QColor BallOutline(90, 40, 10);
const QColor SeamColour(40, 20, 8);
const QColor SkinTone(236, 188, 146);
const QColor HandOutline(140, 88, 56);
constexpr double HandPen = 1.1;

QPainterPath tileOutline() {
  QPainterPath tile;
  tile.addRoundedRect(QRectF(2, 2, GridSize - 4, GridSize - 4), 11, 11);
  return tile;
}

// Path operations flatten curves with a fixed tolerance in path units: work in a finer grid
// so that the result stays smooth when the icon is drawn large.
QPainterPath intersection(const QPainterPath& a, const QPainterPath& b) {
  constexpr double Fine = 16;
  const QTransform up = QTransform::fromScale(Fine, Fine);
  const QTransform down = QTransform::fromScale(1 / Fine, 1 / Fine);
  return down.map(up.map(a).intersected(up.map(b)));
}

void paintBall(QPainter& p) {
  p.setPen(QPen(BallOutline, 1.2));
  p.setBrush(BallBrown);
  p.drawEllipse(BallCentre, BallRadius, BallRadius);

  p.setPen(QPen(SeamColour, 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawLine(BallCentre + QPointF(0, -BallRadius), BallCentre + QPointF(0, BallRadius));
  p.drawLine(BallCentre + QPointF(-BallRadius, 0), BallCentre + QPointF(BallRadius, 0));
  // The part of each seam circle that lies on the ball: the two circles cross the ball's
  // outline where their centres are half the offset away, horizontally.
  const double halfSweep = qRadiansToDegrees(std::acos(SeamOffset / 2 / BallRadius));
  const QSizeF circle(2 * BallRadius, 2 * BallRadius);
  for (const double side : {-1.0, 1.0}) {
    const QPointF centre = BallCentre + QPointF(side * SeamOffset, 0);
    const QRectF bounds(centre - QPointF(BallRadius, BallRadius), circle);
    const double start = side < 0 ? -halfSweep : 180 - halfSweep;
    QPainterPath seam;
    seam.arcMoveTo(bounds, start);
    seam.arcTo(bounds, start, 2 * halfSweep);
    p.drawPath(seam);
  }
}

// One hand: a palm under the ball's side and fingers gripping its edge. The palm runs off the
// bottom of the grid; on a tile it ends at the tile's edge instead.
void paintHand(QPainter& p, bool left, const QPainterPath* tile) {
  p.save();
  QTransform mirror;
  if (!left) mirror = QTransform(-1, 0, 0, 1, GridSize, 0);

  QPainterPath palmEdge;
  palmEdge.moveTo(4, 64);
  palmEdge.cubicTo(0, 50, 2, 36, 12, 30);
  palmEdge.cubicTo(18, 34, 22, 44, 24, 52);
  palmEdge.lineTo(22, 64);
  palmEdge = mirror.map(palmEdge);
  QPainterPath palm = palmEdge;
  palm.closeSubpath();
  if (tile == nullptr) {
    p.setPen(QPen(HandOutline, HandPen));
    p.setBrush(SkinTone);
    p.drawPath(palm);
  } else {
    // Filled shapes only, cut to the tile; the cut itself gets no outline.
    p.setPen(Qt::NoPen);
    p.setBrush(SkinTone);
    p.drawPath(intersection(palm, *tile));
    QPainterPathStroker stroker;
    stroker.setWidth(HandPen);
    p.setBrush(HandOutline);
    p.drawPath(intersection(stroker.createStroke(palmEdge), *tile));
  }

  p.setTransform(mirror, true);
  p.setPen(QPen(HandOutline, HandPen));
  p.setBrush(SkinTone);
  // Fingertips on the ball's edge, each a little further round it.
  for (const double degrees : {150.0, 172.0, 194.0, 216.0}) {
    const double angle = qDegreesToRadians(degrees);
    p.save();
    p.translate(BallCentre + QPointF(std::cos(angle), std::sin(angle)) * (BallRadius - 1));
    p.rotate(degrees + 90);
    p.drawRoundedRect(QRectF(-2.8, -4, 5.6, 11), 2.8, 2.8);
    p.restore();
  }
  // The thumb reaches over the ball's lower side.
  p.translate(17, 38);
  p.rotate(-30);
  p.drawRoundedRect(QRectF(0, -2.8, 12, 5.6), 2.8, 2.8);
  p.restore();
}

}  // namespace

void paint(QPainter& painter, Background background) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QPainterPath tile = tileOutline();
  if (background == Background::Square) {
    painter.fillRect(QRectF(0, 0, GridSize, GridSize), ui::SkinLayout::DarkBlue);
  } else {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ui::SkinLayout::DarkBlue);
    painter.drawPath(tile);
  }
  paintBall(painter);
  const QPainterPath* cut = background == Background::RoundedTile ? &tile : nullptr;
  paintHand(painter, true, cut);
  paintHand(painter, false, cut);
  painter.restore();
}

}  // namespace ProgramIcon
