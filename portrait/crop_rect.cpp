#include "portrait/crop_rect.h"

#include <algorithm>
#include <cmath>

namespace portrait {

namespace {

double clampedZoom(double zoom) { return std::clamp(zoom, 1.0, MaxCropZoom); }

// The crop's width and height in picture pixels, before rounding.
QSizeF cropExtent(QSize picture, QSize portrait, double zoom) {
  const double perPixel = cropPixelsPerPortraitPixel(picture, portrait, zoom);
  return {std::min<double>(picture.width(), portrait.width() * perPixel),
          std::min<double>(picture.height(), portrait.height() * perPixel)};
}

}  // namespace

double cropPixelsPerPortraitPixel(QSize picture, QSize portrait, double zoom) {
  if (picture.isEmpty() || portrait.isEmpty()) return 1.0;
  // Fill scales by the larger of the two ratios, so that the portrait is covered.
  const double fillScale = std::max(double(portrait.width()) / picture.width(),
                                    double(portrait.height()) / picture.height());
  return 1.0 / (fillScale * clampedZoom(zoom));
}

QPointF clampCropCentre(QSize picture, QSize portrait, double zoom, QPointF centre) {
  const QSizeF extent = cropExtent(picture, portrait, zoom);
  return {std::clamp(centre.x(), extent.width() / 2, picture.width() - extent.width() / 2),
          std::clamp(centre.y(), extent.height() / 2, picture.height() - extent.height() / 2)};
}

QRect cropRect(QSize picture, QSize portrait, double zoom, QPointF centre) {
  if (picture.isEmpty() || portrait.isEmpty()) return {};
  const QSizeF extent = cropExtent(picture, portrait, zoom);
  const int width = std::clamp(int(std::lround(extent.width())), 1, picture.width());
  const int height = std::clamp(int(std::lround(extent.height())), 1, picture.height());
  const QPointF middle = clampCropCentre(picture, portrait, zoom, centre);
  const int left =
      std::clamp(int(std::lround(middle.x() - width / 2.0)), 0, picture.width() - width);
  const int top =
      std::clamp(int(std::lround(middle.y() - height / 2.0)), 0, picture.height() - height);
  return {left, top, width, height};
}

}  // namespace portrait
