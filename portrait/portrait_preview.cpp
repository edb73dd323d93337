#include "portrait/portrait_preview.h"

#include "archive/portrait_image.h"
#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"

namespace portrait {

PortraitPreview previewImage(const QByteArray& image) {
  PortraitPreview preview;
  const auto file = fsh::parseFsh(image);
  if (!file) {
    preview.problem = Error::codec(file.error());
    return preview;
  }
  const auto bitmap = fsh::describe(*file);
  if (!bitmap) {
    preview.problem = Error::codec(bitmap.error());
    return preview;
  }
  preview.bitmap = *bitmap;
  auto picture = fsh::decodeBitmap(*file, bitmap->entryIndex);
  if (!picture) {
    preview.problem = Error::codec(picture.error());
    return preview;
  }
  preview.picture = std::move(*picture);
  return preview;
}

PortraitPreview previewPortrait(const QString& archivePath) {
  const auto image = archive::readPortrait(archivePath);
  if (!image) {
    PortraitPreview preview;
    preview.problem = Error::archive(image.error());
    return preview;
  }
  return previewImage(*image);
}

}  // namespace portrait
