// The picture module's one entry point: the tools picture_tools.h describes,
// made of the portrait_picture functions.
#include <QtGlobal>

#include "cli/picture_tools.h"
#include "cli/portrait_picture.h"

namespace {

Expected<ExportedPicture, FileFailure> exportPicture(const QString& archivePath,
                                                     PictureFormat format,
                                                     const QString& fileName) {
  const auto picture = portraitPicture(archivePath);
  if (!picture) return Unexpected(picture.error());
  auto bytes = encodePicture(*picture, format, fileName);
  if (!bytes) return Unexpected(bytes.error());
  return ExportedPicture{std::move(*bytes), picture->size()};
}

Expected<ImportedPicture, FileFailure> importPicture(const QString& archivePath,
                                                     const QString& picturePath,
                                                     const PictureFit& fit) {
  const auto picture = readPicture(picturePath);
  if (!picture) return Unexpected(picture.error());
  return portraitFromPicture(archivePath, *picture, fit.fit, {fit.code, fit.mipmapCount});
}

}  // namespace

extern "C" Q_DECL_EXPORT const PictureTools* cpeCliPictureTools() {
  static const PictureTools tools{&exportPicture, &importPicture, &isPicture};
  return &tools;
}
