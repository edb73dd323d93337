#pragma once

#include <QImage>
#include <QSize>

#include "portrait/import_settings.h"

namespace portrait {

// The picture at exactly the target size in QImage::Format_ARGB32, smoothly
// scaled. A null picture or an empty target gives a null image.
QImage fitPicture(const QImage& picture, QSize target, FitMode mode);

}  // namespace portrait
