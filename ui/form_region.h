#pragma once

#include <QRegion>
#include <cstdint>

class QScreen;

// The screen's twips per pixel, as the window system reports them.
struct TwipsPerPixel {
  float X = 15;
  float Y = 15;
};

// 1440 / the screen's logical DPI, horizontally and vertically.
TwipsPerPixel ScreenTwipsPerPixel(const QScreen* screen);

// The nearest integer, an exact half going to the even neighbour. A value that
// is not finite or lies outside the signed 32-bit range throws CommandError.
int32_t RoundToEven(double value);

// Rounds a twips-per-pixel value the same way; it must fit in 16 bits and must
// not be zero, since every coordinate is divided by it.
int16_t RoundTwipsPerPixel(float twipsPerPixel);

// left, top, right, bottom; right and bottom exclusive.
struct RegionBox {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool operator==(const RegionBox&) const = default;
};

// The three shapes the window's outline is cut from, in screen pixels.
struct FormRegionShapes {
  RegionBox Outline;  // rounded rectangle
  int32_t CornerWidth = 0;
  int32_t CornerHeight = 0;
  RegionBox Hole;      // ellipse inscribed in this box
  RegionBox RightCut;  // rectangle
  bool operator==(const FormRegionShapes&) const = default;
};

struct FormRegion {
  FormRegionShapes Shapes;
  QRegion Region;  // outline minus hole minus right cut
};

// Builds the window's outline for a screen with the given twips per pixel.
// XScale and XOffset apply to horizontal values, YScale and YOffset to vertical
// ones. Throws CommandError when a coordinate cannot be computed.
FormRegion MakeFormRegion(float XScale, float YScale, int16_t XOffset, int16_t YOffset,
                          TwipsPerPixel screen);

// Pixel regions of the primitive shapes: a pixel belongs to a shape when its
// centre lies inside it (on the boundary counts as inside).
QRegion RoundRectRegion(const RegionBox& box, int32_t cornerWidth, int32_t cornerHeight);
QRegion EllipseRegion(const RegionBox& box);
