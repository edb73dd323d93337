#pragma once

#include <QRegion>
#include <cstdint>

#include "common/expected.h"
#include "ui/messages.h"

class QScreen;

namespace ui {

// The screen's twips per pixel, as the window system reports them.
struct TwipsPerPixel {
  float x = 15;
  float y = 15;
};

// 1440 / the screen's logical DPI, horizontally and vertically.
TwipsPerPixel screenTwipsPerPixel(const QScreen* screen);

// The nearest integer, an exact half going to the even neighbour. A value that
// is not finite or lies outside the signed 32-bit range is an overflow.
Expected<int32_t, CommandFailure> roundToEven(double value);

// Rounds a twips-per-pixel value the same way; it must fit in 16 bits and must
// not be zero, since every coordinate is divided by it.
Expected<int16_t, CommandFailure> roundTwipsPerPixel(float twipsPerPixel);

// left, top, right, bottom; right and bottom exclusive.
struct RegionBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const RegionBox&) const = default;
};

// The three shapes the window's outline is cut from, in screen pixels.
struct FormRegionShapes {
  RegionBox outline;  // rounded rectangle
  int32_t cornerWidth = 0;
  int32_t cornerHeight = 0;
  RegionBox hole;      // ellipse inscribed in this box
  RegionBox rightCut;  // rectangle
  bool operator==(const FormRegionShapes&) const = default;
};

struct FormRegion {
  FormRegionShapes shapes;
  QRegion region;  // outline minus hole minus right cut
};

// Builds the window's outline for a screen with the given twips per pixel.
// xScale and xOffset apply to horizontal values, yScale and yOffset to vertical
// ones. Fails when a coordinate cannot be computed.
Expected<FormRegion, CommandFailure> makeFormRegion(float xScale, float yScale, int16_t xOffset,
                                                    int16_t yOffset, TwipsPerPixel screen);

// Pixel regions of the primitive shapes: a pixel belongs to a shape when its
// centre lies inside it (on the boundary counts as inside).
QRegion roundRectRegion(const RegionBox& box, int32_t cornerWidth, int32_t cornerHeight);
QRegion ellipseRegion(const RegionBox& box);

}  // namespace ui
