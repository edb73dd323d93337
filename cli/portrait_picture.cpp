#include "cli/portrait_picture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

#include "archive/portrait_image.h"
#include "fileio/file_reader.h"
#include "fsh/bitmap_decoder.h"
#include "fsh/fit_picture.h"
#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"
#include "fsh/picture_file.h"
#include "fsh/pixel_formats.h"

namespace {

// Larger picture files are refused before they are read.
constexpr qint64 MaxPictureFileSize = qint64{256} << 20;

const char* formatName(PictureFormat format) {
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

// The raster formats Qt reads without a display.
bool isRasterFormat(const QByteArray& format) {
  static const QList<QByteArray> Raster{"png",  "bmp", "jpeg", "jpg", "gif", "webp", "tif",
                                        "tiff", "tga", "ppm",  "pgm", "pbm", "ico",  "cur"};
  return Raster.contains(format.toLower());
}

Expected<fsh::FshFile, FileFailure> readPortraitFile(const QString& archivePath) {
  const auto bytes = readPortrait(archivePath);
  if (!bytes) return Unexpected(archiveFailure(archivePath, bytes.error()));
  auto file = fsh::parseFsh(*bytes);
  if (!file) return Unexpected(portraitFailure(archivePath, file.error()));
  return std::move(*file);
}

}  // namespace

Expected<QImage, FileFailure> portraitPicture(const QString& archivePath) {
  const auto file = readPortraitFile(archivePath);
  if (!file) return Unexpected(file.error());
  auto picture = fsh::decodeMainBitmap(*file);
  if (!picture) return Unexpected(portraitFailure(archivePath, picture.error()));
  return std::move(*picture);
}

Expected<QByteArray, FileFailure> encodePicture(const QImage& picture, PictureFormat format,
                                                const QString& fileName) {
  auto bytes = fsh::encodePictureFile(picture, formatName(format));
  if (!bytes)
    return Unexpected(FileFailure{
        fileName, QStringLiteral("the picture cannot be written as %1: %2")
                      .arg(QString::fromLatin1(formatName(format)).toUpper(), bytes.error())});
  return std::move(*bytes);
}

Expected<QImage, FileFailure> readPicture(const QString& path) {
  const auto file = fileio::FileReader::open(path);
  if (!file) return Unexpected(archiveFailure(path, file.error()));
  if (file->length() > MaxPictureFileSize)
    return Unexpected(FileFailure{
        path,
        QStringLiteral("the picture file is larger than %1 MiB").arg(MaxPictureFileSize >> 20)});
  auto bytes = file->readAt(0, file->length());
  if (!bytes) return Unexpected(archiveFailure(path, bytes.error()));
  QBuffer buffer(&*bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  const QByteArray format = reader.format();
  if (format.isEmpty())
    return Unexpected(FileFailure{
        path, QStringLiteral("this is neither an FSH image nor a picture Qt can read")});
  if (!isRasterFormat(format))
    return Unexpected(FileFailure{
        path, QStringLiteral("%1 pictures cannot be imported; use a raster format such as PNG")
                  .arg(QString::fromLatin1(format).toUpper())});
  QImage picture = reader.read();
  if (picture.isNull())
    return Unexpected(FileFailure{
        path, QStringLiteral("the picture cannot be read: %1").arg(reader.errorString())});
  return picture;
}

bool isPicture(const QByteArray& start) {
  QBuffer buffer;
  buffer.setData(start);
  buffer.open(QIODevice::ReadOnly);
  return !QImageReader::imageFormat(&buffer).isEmpty();
}

Expected<ImportedPicture, FileFailure> portraitFromPicture(const QString& archivePath,
                                                           const QImage& picture, fsh::FitMode fit,
                                                           const fsh::ReplaceOptions& options) {
  const auto file = readPortraitFile(archivePath);
  if (!file) return Unexpected(file.error());
  const auto before = fsh::describe(*file);
  if (!before) return Unexpected(portraitFailure(archivePath, before.error()));
  const QImage fitted = fsh::fitPicture(picture, QSize(before->width, before->height), fit);
  if (fitted.isNull())
    return Unexpected(FileFailure{
        archivePath,
        QStringLiteral("no memory for a %1x%2 picture").arg(before->width).arg(before->height)});
  // A portrait in a code the codec cannot write becomes 32-bit ARGB, as in the window.
  fsh::ReplaceOptions chosen = options;
  if (!chosen.code && !fsh::isBitmapCode(before->code)) chosen.code = fsh::Code::Argb8888;
  auto image = fsh::replaceMainBitmap(*file, fitted, chosen);
  if (!image) return Unexpected(portraitFailure(archivePath, image.error()));
  const auto replaced = fsh::parseFsh(*image);
  if (!replaced) return Unexpected(portraitFailure(archivePath, replaced.error()));
  const auto after = fsh::describe(*replaced);
  if (!after) return Unexpected(portraitFailure(archivePath, after.error()));
  return ImportedPicture{std::move(*image), *before, *after};
}
