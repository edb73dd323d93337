#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include "common/expected.h"

namespace portrait {

// The bytes of a picture file that shows the portrait, in one of the formats
// both front ends export: "png", "bmp" or "jpeg" (Qt's format names). PNG keeps
// the alpha channel. JPEG has none and Qt writes BMP without one, so a
// transparent pixel would show whatever colour it happens to carry: those get
// the picture laid on white, as a viewer shows it, and JPEG quality 95.
// Fails with Qt's words when the writer cannot write the format.
Expected<QByteArray, QString> encodePictureFile(const QImage& picture, QByteArrayView format);

}  // namespace portrait
