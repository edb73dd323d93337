#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "fsh/describe.h"
#include "portrait/portrait_error.h"

namespace portrait {

// What a window shows of an archive's portrait.
struct PortraitPreview {
  QImage picture;                                // the main bitmap; null when it cannot be shown
  std::optional<fsh::BitmapDescription> bitmap;  // none when the image holds no bitmap
  std::optional<Error> problem;                  // why there is no picture
};

// Reads the portrait of the archive at archivePath and decodes it.
PortraitPreview previewPortrait(const QString& archivePath);
// The same for an FSH image in memory.
PortraitPreview previewImage(const QByteArray& image);

}  // namespace portrait
