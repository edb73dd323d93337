#include "ui/picture_export.h"

#include <QFileInfo>

#include "archive/portrait_image.h"
#include "fileio/file_replacement.h"
#include "fileio/regular_file.h"
#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"
#include "fsh/picture_file.h"

namespace {

// The Qt format that writes each picture suffix Export offers.
QByteArray writerFormat(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == u"png") return "png";
  if (suffix == u"bmp") return "bmp";
  if (suffix == u"jpg" || suffix == u"jpeg") return "jpeg";
  return {};
}

}  // namespace

bool isPictureFileName(const QString& path) { return !writerFormat(path).isEmpty(); }

Expected<void, PictureError> exportPortraitPicture(const QString& archivePath,
                                                   const QString& targetPath) {
  const QByteArray format = writerFormat(targetPath);
  // However it is named: the picture would replace the whole archive.
  if (const auto archive = fileio::identityOf(archivePath);
      archive && fileio::identityOf(targetPath) == archive)
    return Unexpected(PictureError::archive(ArchiveError::of(ArchiveError::Kind::TargetIsArchive)));
  const auto image = readPortrait(archivePath);
  if (!image) return Unexpected(PictureError::archive(image.error()));
  const auto file = fsh::parseFsh(*image);
  if (!file) return Unexpected(PictureError::codec(file.error()));
  const auto picture = fsh::decodeMainBitmap(*file);
  if (!picture) return Unexpected(PictureError::codec(picture.error()));

  const auto bytes = fsh::encodePictureFile(*picture, format);
  if (!bytes) return Unexpected(PictureError::pictureFile(bytes.error()));
  const auto written = fileio::replaceFileContents(targetPath, QByteArrayView(*bytes));
  if (!written) return Unexpected(PictureError::archive(written.error()));
  return {};
}
