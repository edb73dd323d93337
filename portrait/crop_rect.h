#pragma once

#include <QPointF>
#include <QRect>
#include <QSize>

// Where a hand-made crop of a picture lies, given how far it is zoomed and
// where it is centred. Qt Core only: the numbers, no pixels.
namespace portrait {

// Zoom 1 shows as much of the picture as fill shows; this is the closest in.
inline constexpr double MaxCropZoom = 8.0;

// Picture pixels per portrait pixel when the crop is zoomed by zoom (1 to
// MaxCropZoom; other values are clamped) over the fill scale.
double cropPixelsPerPortraitPixel(QSize picture, QSize portrait, double zoom);

// The centre moved as little as needed for the crop of that zoom to lie
// inside the picture.
QPointF clampCropCentre(QSize picture, QSize portrait, double zoom, QPointF centre);

// The crop, of the portrait's aspect as far as whole pixels allow, around the
// clamped centre; never outside the picture and never smaller than a pixel.
// Empty for an empty picture or portrait.
QRect cropRect(QSize picture, QSize portrait, double zoom, QPointF centre);

}  // namespace portrait
