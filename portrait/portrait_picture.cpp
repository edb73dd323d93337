#include "portrait/portrait_picture.h"

#include <QFileInfo>

#include "archive/portrait_image.h"
#include "archive/prepared_file.h"
#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"
#include "portrait/picture_file.h"
#include "portrait/picture_names.h"
#include "portrait/same_file.h"

namespace portrait {

namespace {

QByteArray writerFormat(PictureFormat format) {
  switch (format) {
    case PictureFormat::Png:
      return "png";
    case PictureFormat::Bmp:
      return "bmp";
    case PictureFormat::Jpeg:
      break;
  }
  return "jpeg";
}

}  // namespace

Expected<QImage, Error> portraitPicture(const QString& archivePath) {
  const auto image = archive::readPortrait(archivePath);
  if (!image) return Unexpected(Error::archive(image.error()));
  const auto file = fsh::parseFsh(*image);
  if (!file) return Unexpected(Error::codec(file.error()));
  auto picture = fsh::decodeMainBitmap(*file);
  if (!picture) return Unexpected(Error::codec(picture.error()));
  return std::move(*picture);
}

Expected<PictureFile, Error> portraitPictureFile(const QString& archivePath,
                                                 const QString& targetPath, PictureFormat format) {
  if (auto other =
          checkNotTheArchive(archivePath, targetPath, archive::ArchiveError::Kind::TargetIsArchive);
      !other)
    return Unexpected(Error::archive(other.error()));
  const auto picture = portraitPicture(archivePath);
  if (!picture) return Unexpected(picture.error());
  auto bytes = encodePictureFile(*picture, writerFormat(format));
  if (!bytes) {
    Error error = Error::picture(Error::PictureProblem::Unwritable);
    error.format = writerFormat(format);
    error.qtReason = bytes.error();
    return Unexpected(std::move(error));
  }
  return PictureFile{std::move(*bytes), picture->size()};
}

Expected<void, Error> exportPortraitPicture(const QString& archivePath, const QString& targetPath) {
  const auto format = pictureFormatForPath(targetPath);
  if (!format) {
    Error error = Error::picture(Error::PictureProblem::Unwritable);
    error.format = QFileInfo(targetPath).suffix().toLatin1();
    return Unexpected(std::move(error));
  }
  const auto file = portraitPictureFile(archivePath, targetPath, *format);
  if (!file) return Unexpected(file.error());
  if (auto written = archive::writeFile(targetPath, file->bytes); !written)
    return Unexpected(Error::archive(written.error()));
  return {};
}

}  // namespace portrait
