#include "portrait/fit_picture.h"

#include <algorithm>
#include <cstring>

namespace portrait {

namespace {

// Copies `from` into the middle of a transparent image of `size`, or the
// middle of `from` when it is the larger one.
QImage centred(const QImage& from, QSize size) {
  QImage to(size, QImage::Format_ARGB32);
  if (to.isNull()) return to;
  to.fill(Qt::transparent);
  const int dx = (size.width() - from.width()) / 2;
  const int dy = (size.height() - from.height()) / 2;
  const int width = std::min(from.width(), size.width());
  const int height = std::min(from.height(), size.height());
  const int fromX = std::max(0, -dx);
  const int fromY = std::max(0, -dy);
  const int toX = std::max(0, dx);
  const int toY = std::max(0, dy);
  for (int y = 0; y < height; ++y) {
    std::memcpy(to.scanLine(toY + y) + qsizetype(toX) * 4,
                from.constScanLine(fromY + y) + qsizetype(fromX) * 4, size_t(width) * 4);
  }
  return to;
}

}  // namespace

QImage fitPicture(const QImage& picture, QSize target, FitMode mode, QRect crop) {
  if (picture.isNull() || target.isEmpty()) return {};
  if (!crop.isEmpty()) {
    // QImage::copy would fill what lies outside the picture with black.
    crop &= picture.rect();
    if (crop.isEmpty()) return {};
  }
  QImage source =
      (crop.isEmpty() ? picture : picture.copy(crop)).convertToFormat(QImage::Format_ARGB32);
  if (source.size() == target) return source;
  const Qt::AspectRatioMode aspect = mode == FitMode::Fill  ? Qt::KeepAspectRatioByExpanding
                                     : mode == FitMode::Fit ? Qt::KeepAspectRatio
                                                            : Qt::IgnoreAspectRatio;
  QImage scaled = source.scaled(target, aspect, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_ARGB32);
  if (scaled.size() == target) return scaled;
  return centred(scaled, target);
}

}  // namespace portrait
