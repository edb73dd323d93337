#include "portrait/thumbnail.h"

#include <algorithm>

#include "archive/portrait_image.h"
#include "fileio/file_reader.h"
#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"
#include "fsh/image_file_kind.h"
#include "portrait/input_file.h"
#include "portrait/picture_file.h"
#include "portrait/same_file.h"

namespace portrait {

namespace {

// The FSH image the file holds: an archive's portrait, or the file itself.
Expected<QByteArray, Error> portraitImageIn(const QString& path) {
  const auto file = fileio::FileReader::open(path);
  if (!file) return Unexpected(Error::archive(file.error()));
  const auto start = file->readAt(0, std::min(file->length(), fsh::FileKindProbeSize));
  if (!start) return Unexpected(Error::archive(start.error()));
  const fsh::FileKind kind = fsh::fileKindOf(*start);
  if (kind == fsh::FileKind::Other) {
    auto image = archive::readPortrait(path);
    if (!image) return Unexpected(Error::archive(image.error()));
    return std::move(*image);
  }
  if (kind == fsh::FileKind::CompressedImage) {
    if (auto length = fsh::checkCompressedFileLength(file->length()); !length)
      return Unexpected(Error::codec(length.error()));
  } else if (file->length() > MaxPictureFileSize) {
    Error error = Error::picture(Error::PictureProblem::FileTooLarge);
    error.limit = MaxPictureFileSize;
    return Unexpected(std::move(error));
  }
  auto bytes = file->readAt(0, file->length());
  if (!bytes) return Unexpected(Error::archive(bytes.error()));
  if (kind == fsh::FileKind::Image) return std::move(*bytes);
  auto unpacked = fsh::unpackImageFile(*bytes);
  if (!unpacked) return Unexpected(Error::codec(unpacked.error()));
  return std::move(*unpacked);
}

}  // namespace

QSize thumbnailSize(QSize size, int longerSide) {
  const int longer = std::max(size.width(), size.height());
  if (longer <= longerSide || longer <= 0) return size;
  // Rounded, not cut: a 256x100 portrait at 128 is 128x50.
  const auto scaled = [&](int side) {
    return std::max(1, int((qint64(side) * longerSide * 2 + longer) / (qint64(longer) * 2)));
  };
  return {scaled(size.width()), scaled(size.height())};
}

Expected<QImage, Error> thumbnailPicture(const QString& path, int longerSide) {
  const auto image = portraitImageIn(path);
  if (!image) return Unexpected(image.error());
  const auto file = fsh::parseFsh(*image);
  if (!file) return Unexpected(Error::codec(file.error()));
  const auto picture = fsh::decodeMainBitmap(*file);
  if (!picture) return Unexpected(Error::codec(picture.error()));
  const QSize size = thumbnailSize(picture->size(), longerSide);
  if (size == picture->size()) return *picture;
  return picture->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

Expected<PictureFile, Error> thumbnailFile(const QString& path, const QString& targetPath,
                                           int longerSide) {
  if (auto other =
          checkNotTheArchive(path, targetPath, archive::ArchiveError::Kind::TargetIsArchive);
      !other)
    return Unexpected(Error::archive(other.error()));
  const auto picture = thumbnailPicture(path, longerSide);
  if (!picture) return Unexpected(picture.error());
  auto bytes = encodePictureFile(*picture, "png");
  if (!bytes) {
    Error error = Error::picture(Error::PictureProblem::Unwritable);
    error.format = "png";
    error.qtReason = bytes.error();
    return Unexpected(std::move(error));
  }
  return PictureFile{std::move(*bytes), picture->size()};
}

}  // namespace portrait
