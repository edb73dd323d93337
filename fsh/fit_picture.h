#pragma once

#include <QImage>
#include <QSize>

namespace fsh {

enum class FitMode {
  Fill,     // scale to cover the whole target and cut the overhang equally on both sides
  Fit,      // scale to lie inside the target, centred on transparent margins
  Stretch,  // scale each side to the target's, ignoring the aspect ratio
};

// The picture at exactly the target size in QImage::Format_ARGB32, smoothly
// scaled. A null picture or an empty target gives a null image.
QImage fitPicture(const QImage& picture, QSize target, FitMode mode);

}  // namespace fsh
