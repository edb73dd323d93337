#include "ui/import_source.h"

#include <QBuffer>
#include <QImageReader>

#include "fileio/file_reader.h"
#include "fsh/image_file_kind.h"

namespace {

using Kind = ImportSource::Kind;

// A picture file is read whole before it is decoded.
constexpr qint64 MaxPictureFileSize = qint64(256) << 20;

// The picture format Qt recognises in the bytes, or nothing.
QByteArray pictureFormat(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return QImageReader::imageFormat(&buffer);
}

// The picture formats Import offers. Qt reads more, but some of them
// recognise almost any bytes, which would turn a damaged FSH file into a
// "picture".
bool isOfferedFormat(const QByteArray& format) {
  static const QByteArrayList Offered{"png", "jpeg", "jpg", "bmp", "gif", "webp"};
  return Offered.contains(format.toLower());
}

Kind kindOf(const QByteArray& head) {
  switch (fsh::fileKindOf(head)) {
    case fsh::FileKind::Image:
      return Kind::FshImage;
    case fsh::FileKind::CompressedImage:
      return Kind::CompressedFshImage;
    case fsh::FileKind::Other:
      break;
  }
  return isOfferedFormat(pictureFormat(head)) ? Kind::Picture : Kind::Other;
}

// The content of a whole compressed image or picture file.
Expected<ImportSource, PictureError> unpack(Kind kind, const QByteArray& bytes) {
  ImportSource source;
  source.kind = kind;
  switch (kind) {
    case Kind::FshImage:
    case Kind::Other:
      break;
    case Kind::CompressedFshImage: {
      auto image = fsh::unpackImageFile(bytes);
      if (!image) return Unexpected(PictureError::codec(std::move(image).error()));
      source.image = std::move(*image);
      break;
    }
    case Kind::Picture: {
      QBuffer buffer;
      buffer.setData(bytes);
      buffer.open(QIODevice::ReadOnly);
      QImageReader reader(&buffer, pictureFormat(bytes));
      source.picture = reader.read();
      if (source.picture.isNull())
        return Unexpected(PictureError::pictureFile(reader.errorString()));
      break;
    }
  }
  return source;
}

}  // namespace

Expected<ImportSource, PictureError> readImportSource(const QString& path) {
  const auto file = fileio::FileReader::open(path);
  if (!file) return ImportSource{};
  const auto head = file->readAt(0, std::min(file->length(), fsh::FileKindProbeSize));
  if (!head) return ImportSource{};
  const Kind kind = kindOf(*head);
  if (kind == Kind::FshImage || kind == Kind::Other) return ImportSource{kind, {}, {}};

  if (kind == Kind::Picture && file->length() > MaxPictureFileSize) {
    return Unexpected(PictureError::pictureFile(
        QStringLiteral("the file is larger than %1 MiB").arg(MaxPictureFileSize >> 20)));
  }
  if (kind == Kind::CompressedFshImage) {
    if (auto length = fsh::checkCompressedFileLength(file->length()); !length)
      return Unexpected(PictureError::codec(std::move(length).error()));
  }
  const auto bytes = file->readAt(0, file->length());
  if (!bytes) return Unexpected(PictureError::archive(bytes.error()));
  return unpack(kind, *bytes);
}
