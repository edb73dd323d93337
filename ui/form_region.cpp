#include "ui/form_region.h"

#include <QScreen>
#include <QVector>
#include <cmath>
#include <limits>

#include "archive/command_error.h"

namespace {

constexpr int DivisionByZeroErrorNumber = 11;

// The outline's design geometry at 15 twips per pixel.
constexpr int DesignTwipsPerPixel = 15;
constexpr RegionBox DesignOutline{0, 0, 392, 240};
constexpr int DesignCornerWidth = 42;
constexpr int DesignCornerHeight = 32;
constexpr RegionBox DesignHole{8, 8, 24, 23};
constexpr RegionBox DesignRightCut{390, 8, 422, 304};

[[noreturn]] void ThrowOverflow() { throw CommandError(OverflowErrorNumber, "Overflow"); }

struct Axis {
  float Scale;
  int16_t Offset;
  int16_t TwipsPerPixel;

  // The arithmetic runs in this order: scale times value, times 15, divided by
  // the twips per pixel, plus the offset.
  int32_t Coordinate(int designValue) const { return RoundToEven(Scaled(designValue) + Offset); }
  int32_t Size(int designValue) const { return RoundToEven(Scaled(designValue)); }

 private:
  double Scaled(int designValue) const {
    return static_cast<double>(Scale) * designValue * DesignTwipsPerPixel / TwipsPerPixel;
  }
};

RegionBox Convert(const RegionBox& design, const Axis& x, const Axis& y) {
  return {x.Coordinate(design.Left), y.Coordinate(design.Top), x.Coordinate(design.Right),
          y.Coordinate(design.Bottom)};
}

}  // namespace

TwipsPerPixel ScreenTwipsPerPixel(const QScreen* screen) {
  if (!screen) return {};
  return {static_cast<float>(1440.0 / screen->logicalDotsPerInchX()),
          static_cast<float>(1440.0 / screen->logicalDotsPerInchY())};
}

int32_t RoundToEven(double value) {
  if (!std::isfinite(value)) ThrowOverflow();
  const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
  if (rounded < std::numeric_limits<int32_t>::min() ||
      rounded > std::numeric_limits<int32_t>::max())
    ThrowOverflow();
  return static_cast<int32_t>(rounded);
}

int16_t RoundTwipsPerPixel(float twipsPerPixel) {
  const int32_t rounded = RoundToEven(twipsPerPixel);
  if (rounded < std::numeric_limits<int16_t>::min() ||
      rounded > std::numeric_limits<int16_t>::max())
    ThrowOverflow();
  if (rounded == 0) throw CommandError(DivisionByZeroErrorNumber, "Division by zero");
  return static_cast<int16_t>(rounded);
}

FormRegion MakeFormRegion(float XScale, float YScale, int16_t XOffset, int16_t YOffset,
                          TwipsPerPixel screen) {
  const Axis x{XScale, XOffset, RoundTwipsPerPixel(screen.X)};
  const Axis y{YScale, YOffset, RoundTwipsPerPixel(screen.Y)};

  FormRegion result;
  FormRegionShapes& shapes = result.Shapes;
  shapes.Outline = Convert(DesignOutline, x, y);
  shapes.CornerWidth = x.Size(DesignCornerWidth);
  shapes.CornerHeight = y.Size(DesignCornerHeight);
  shapes.Hole = Convert(DesignHole, x, y);
  shapes.RightCut = Convert(DesignRightCut, x, y);

  result.Region = RoundRectRegion(shapes.Outline, shapes.CornerWidth, shapes.CornerHeight)
                      .subtracted(EllipseRegion(shapes.Hole))
                      .subtracted(QRect(shapes.RightCut.Left, shapes.RightCut.Top,
                                        shapes.RightCut.Right - shapes.RightCut.Left,
                                        shapes.RightCut.Bottom - shapes.RightCut.Top));
  return result;
}

QRegion RoundRectRegion(const RegionBox& box, int32_t cornerWidth, int32_t cornerHeight) {
  const double width = double(box.Right) - box.Left;
  const double height = double(box.Bottom) - box.Top;
  if (width <= 0 || height <= 0) return {};
  // Corners larger than the box round the whole side, as with an ellipse.
  const double a = std::min<double>(std::abs(cornerWidth), width) / 2;
  const double b = std::min<double>(std::abs(cornerHeight), height) / 2;

  // One span per row, sampled at the pixel centres; rows with the same span
  // become one rectangle.
  QVector<QRect> bands;
  for (int32_t row = box.Top; row < box.Bottom; ++row) {
    const double centre = row + 0.5;
    double dy = 0;
    if (centre < box.Top + b)
      dy = box.Top + b - centre;
    else if (centre > box.Bottom - b)
      dy = centre - (box.Bottom - b);
    double inset = 0;
    if (a > 0 && b > 0) {
      const double t = std::min(dy / b, 1.0);
      inset = a - a * std::sqrt(1 - t * t);
    }
    const int32_t first = static_cast<int32_t>(std::ceil(box.Left + inset - 0.5));
    const int32_t last = static_cast<int32_t>(std::floor(box.Right - inset - 0.5));
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

QRegion EllipseRegion(const RegionBox& box) {
  return RoundRectRegion(box, box.Right - box.Left, box.Bottom - box.Top);
}
