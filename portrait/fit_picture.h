#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include "portrait/import_settings.h"

namespace portrait {

// The picture, or its crop, at exactly the target size in QImage::Format_ARGB32,
// smoothly scaled: the crop is fitted as a whole picture would be (fill cuts
// what overhangs the target's aspect equally on both sides). An empty crop
// stands for the whole picture; a crop is cut to the picture. A null picture,
// an empty target or a crop beside the picture gives a null image.
QImage fitPicture(const QImage& picture, QSize target, FitMode mode, QRect crop = {});

}  // namespace portrait
