#include "ui/form_region.h"

#include <QCoreApplication>
#include <QScreen>
#include <QVector>
#include <cmath>
#include <limits>

namespace ui {

namespace {

// The numbers a failed coordinate is reported with.
constexpr int OverflowNumber = 6;
constexpr int DivisionByZeroNumber = 11;

// The outline's design geometry at 15 twips per pixel.
constexpr int DesignTwipsPerPixel = 15;
constexpr RegionBox DesignOutline{0, 0, 392, 240};
constexpr int DesignCornerWidth = 42;
constexpr int DesignCornerHeight = 32;
constexpr RegionBox DesignHole{8, 8, 24, 23};
constexpr RegionBox DesignRightCut{390, 8, 422, 304};

Unexpected<CommandFailure> overflow() {
  return Unexpected(
      CommandFailure{OverflowNumber, QCoreApplication::translate("MainWindow", "Overflow")});
}

struct Axis {
  float scale;
  int16_t offset;
  int16_t twipsPerPixel;

  // The arithmetic runs in this order: scale times value, times 15, divided by
  // the twips per pixel, plus the offset.
  Expected<int32_t, CommandFailure> coordinate(int designValue) const {
    return roundToEven(scaled(designValue) + offset);
  }
  Expected<int32_t, CommandFailure> size(int designValue) const {
    return roundToEven(scaled(designValue));
  }

 private:
  double scaled(int designValue) const {
    return static_cast<double>(scale) * designValue * DesignTwipsPerPixel / twipsPerPixel;
  }
};

Expected<RegionBox, CommandFailure> convert(const RegionBox& design, const Axis& x, const Axis& y) {
  const auto left = x.coordinate(design.left);
  const auto top = y.coordinate(design.top);
  const auto right = x.coordinate(design.right);
  const auto bottom = y.coordinate(design.bottom);
  for (const auto* value : {&left, &top, &right, &bottom})
    if (!*value) return Unexpected(value->error());
  return RegionBox{*left, *top, *right, *bottom};
}

}  // namespace

TwipsPerPixel screenTwipsPerPixel(const QScreen* screen) {
  if (!screen) return {};
  return {static_cast<float>(1440.0 / screen->logicalDotsPerInchX()),
          static_cast<float>(1440.0 / screen->logicalDotsPerInchY())};
}

Expected<int32_t, CommandFailure> roundToEven(double value) {
  if (!std::isfinite(value)) return overflow();
  const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
  if (rounded < std::numeric_limits<int32_t>::min() ||
      rounded > std::numeric_limits<int32_t>::max())
    return overflow();
  return static_cast<int32_t>(rounded);
}

Expected<int16_t, CommandFailure> roundTwipsPerPixel(float twipsPerPixel) {
  const auto rounded = roundToEven(twipsPerPixel);
  if (!rounded) return Unexpected(rounded.error());
  if (*rounded < std::numeric_limits<int16_t>::min() ||
      *rounded > std::numeric_limits<int16_t>::max())
    return overflow();
  if (*rounded == 0)
    return Unexpected(CommandFailure{
        DivisionByZeroNumber, QCoreApplication::translate("MainWindow", "Division by zero")});
  return static_cast<int16_t>(*rounded);
}

Expected<FormRegion, CommandFailure> makeFormRegion(float xScale, float yScale, int16_t xOffset,
                                                    int16_t yOffset, TwipsPerPixel screen) {
  const auto xTwips = roundTwipsPerPixel(screen.x);
  if (!xTwips) return Unexpected(xTwips.error());
  const auto yTwips = roundTwipsPerPixel(screen.y);
  if (!yTwips) return Unexpected(yTwips.error());
  const Axis x{xScale, xOffset, *xTwips};
  const Axis y{yScale, yOffset, *yTwips};

  const auto outline = convert(DesignOutline, x, y);
  const auto cornerWidth = x.size(DesignCornerWidth);
  const auto cornerHeight = y.size(DesignCornerHeight);
  const auto hole = convert(DesignHole, x, y);
  const auto rightCut = convert(DesignRightCut, x, y);
  if (!outline) return Unexpected(outline.error());
  if (!cornerWidth) return Unexpected(cornerWidth.error());
  if (!cornerHeight) return Unexpected(cornerHeight.error());
  if (!hole) return Unexpected(hole.error());
  if (!rightCut) return Unexpected(rightCut.error());

  FormRegion result;
  result.shapes = {*outline, *cornerWidth, *cornerHeight, *hole, *rightCut};
  const RegionBox& cut = result.shapes.rightCut;
  result.region =
      roundRectRegion(*outline, *cornerWidth, *cornerHeight)
          .subtracted(ellipseRegion(*hole))
          .subtracted(QRect(cut.left, cut.top, cut.right - cut.left, cut.bottom - cut.top));
  return result;
}

QRegion roundRectRegion(const RegionBox& box, int32_t cornerWidth, int32_t cornerHeight) {
  const double width = double(box.right) - box.left;
  const double height = double(box.bottom) - box.top;
  if (width <= 0 || height <= 0) return {};
  // Corners larger than the box round the whole side, as with an ellipse.
  const double a = std::min<double>(std::abs(cornerWidth), width) / 2;
  const double b = std::min<double>(std::abs(cornerHeight), height) / 2;

  // One span per row, sampled at the pixel centres; rows with the same span
  // become one rectangle.
  QVector<QRect> bands;
  for (int32_t row = box.top; row < box.bottom; ++row) {
    const double centre = row + 0.5;
    double dy = 0;
    if (centre < box.top + b)
      dy = box.top + b - centre;
    else if (centre > box.bottom - b)
      dy = centre - (box.bottom - b);
    double inset = 0;
    if (a > 0 && b > 0) {
      const double t = std::min(dy / b, 1.0);
      inset = a - a * std::sqrt(1 - t * t);
    }
    const int32_t first = static_cast<int32_t>(std::ceil(box.left + inset - 0.5));
    const int32_t last = static_cast<int32_t>(std::floor(box.right - inset - 0.5));
    if (last < first) continue;
    const QRect span(first, row, last - first + 1, 1);
    if (!bands.isEmpty() && bands.last().left() == span.left() &&
        bands.last().right() == span.right() && bands.last().bottom() + 1 == row)
      bands.last().setBottom(row);
    else
      bands.append(span);
  }
  QRegion region;
  region.setRects(bands.constData(), static_cast<int>(bands.size()));
  return region;
}

QRegion ellipseRegion(const RegionBox& box) {
  return roundRectRegion(box, box.right - box.left, box.bottom - box.top);
}

}  // namespace ui
