#include "portrait/input_file.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

#include "fileio/file_reader.h"
#include "fsh/image_file_kind.h"

namespace portrait {

namespace {

// Formats whose content check accepts almost any bytes, so that a damaged FSH
// file would pass for one: read only when the file's name asks for them.
bool isNamedOnly(const QByteArray& format) { return format == "tga" || format == "wbmp"; }

bool isVector(const QByteArray& format) {
  return format == "svg" || format == "svgz" || format == "pdf";
}

QByteArray formatInContent(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return QImageReader::imageFormat(&buffer).toLower();
}

// A TGA file: an 18-byte header, an image ID of the length its first byte
// gives, the colour map and the pixels, and since TGA 2.0 a 26-byte footer
// ending in a signature.
constexpr qsizetype TgaHeaderSize = 18;
constexpr qsizetype TgaFooterSize = 26;
constexpr QByteArrayView TgaSignature("TRUEVISION-XFILE.", 18);  // with its NUL

// Where the image's data ends: before the footer, where there is one.
qsizetype tgaDataEnd(const QByteArray& bytes) {
  return bytes.endsWith(TgaSignature) ? bytes.size() - TgaFooterSize : bytes.size();
}

// The bytes of a TGA file as Qt's reader reads them right. It takes only files
// that end in the footer TGA 2.0 added, and skips an image ID field (text the
// painting program left, no pixels) twice; so the ID goes and an empty footer
// takes the place of any footer there was. Other bytes are left as they are.
QByteArray readableTga(const QByteArray& bytes) {
  if (bytes.size() < TgaHeaderSize) return bytes;
  const qsizetype idLength = quint8(bytes[0]);
  const qsizetype end = tgaDataEnd(bytes);
  if (end < TgaHeaderSize + idLength) return bytes;
  QByteArray readable = bytes.left(TgaHeaderSize);
  readable[0] = 0;
  readable +=
      QByteArrayView(bytes).sliced(TgaHeaderSize + idLength, end - TgaHeaderSize - idLength);
  // The extension area's and the developer directory's offsets: none.
  return readable + QByteArray(8, '\0') + TgaSignature.toByteArray();
}

// Whether an uncompressed TGA file ends before the pixels its header declares.
// Qt's reader leaves the missing ones transparent black and calls the picture
// whole, which would make a cut-off download a half-empty portrait.
bool tgaCutShort(const QByteArray& bytes) {
  if (bytes.size() < TgaHeaderSize) return true;
  const auto byte = [&](int at) { return qsizetype(quint8(bytes[at])); };
  const auto word = [&](int at) { return byte(at) | byte(at + 1) << 8; };
  const qsizetype imageType = byte(2);
  if (imageType < 1 || imageType > 3) return false;  // run-length coded, or no pixels
  const qsizetype colourMap = byte(1) != 0 ? word(5) * ((byte(7) + 7) / 8) : 0;
  const qsizetype pixels = word(12) * word(14) * ((byte(16) + 7) / 8);
  return tgaDataEnd(bytes) < TgaHeaderSize + byte(0) + colourMap + pixels;
}

QByteArray bytesToRead(const QByteArray& bytes, const QByteArray& format) {
  return format == "tga" ? readableTga(bytes) : bytes;
}

// The format the name's suffix gives, when it is one pictures are read in.
QByteArray formatOfName(const QString& fileName) {
  QByteArray suffix = QFileInfo(fileName).suffix().toLower().toLatin1();
  if (suffix == "jpg") suffix = "jpeg";
  if (suffix == "tif") suffix = "tiff";
  return pictureFormats().contains(suffix) ? suffix : QByteArray();
}

// Whether the content names a format pictures are read in, by itself.
bool contentNamesPicture(const QByteArray& content) {
  return !content.isEmpty() && !isNamedOnly(content) && pictureFormats().contains(content);
}

bool readableAs(const QByteArray& bytes, const QByteArray& format) {
  QBuffer buffer;
  buffer.setData(bytesToRead(bytes, format));
  buffer.open(QIODevice::ReadOnly);
  return QImageReader(&buffer, format).canRead();
}

// The format to read bytes in: the content's, or else the name's where its
// reader takes the bytes for its own. A TGA header passes Qt's recognition
// for an icon's, so a name that asks for TGA is asked first.
QByteArray pictureFormatOf(const QByteArray& bytes, const QString& fileName) {
  QByteArray named = formatOfName(fileName);
  if (isNamedOnly(named) && readableAs(bytes, named)) return named;
  QByteArray content = formatInContent(bytes);
  if (contentNamesPicture(content)) return content;
  return !named.isEmpty() && readableAs(bytes, named) ? named : QByteArray();
}

Error tooManyPixels(QSize size) {
  Error error = Error::picture(Error::PictureProblem::TooManyPixels);
  error.size = size;
  error.limit = MaxPicturePixels;
  return error;
}

Error fileTooLarge() {
  Error error = Error::picture(Error::PictureProblem::FileTooLarge);
  error.limit = MaxPictureFileSize;
  return error;
}

Expected<QImage, Error> decode(const QByteArray& bytes, const QByteArray& format) {
  if (format == "tga" && tgaCutShort(bytes))
    return Unexpected(Error::picture(Error::PictureProblem::CutShort));
  QBuffer buffer;
  buffer.setData(bytesToRead(bytes, format));
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  // The size a picture declares is checked before a pixel is allocated; the
  // allocation limit stands behind it for readers that cannot tell the size.
  if (const QSize size = reader.size(); size.isValid() && !checkPictureSize(size))
    return Unexpected(tooManyPixels(size));
  allowPictureAllocations();
  QImage picture = reader.read();
  if (picture.isNull()) {
    Error error = Error::picture(Error::PictureProblem::Unreadable);
    error.qtReason = reader.errorString();
    return Unexpected(std::move(error));
  }
  return picture;
}

}  // namespace

QByteArrayList pictureFormats() {
  static const QByteArrayList Formats = [] {
    QByteArrayList formats;
    for (QByteArray format : QImageReader::supportedImageFormats()) {
      format = format.toLower();
      if (!isVector(format) && !formats.contains(format)) formats << format;
    }
    std::sort(formats.begin(), formats.end());
    return formats;
  }();
  return Formats;
}

InputKind inputKindOf(const QByteArray& start, const QString& fileName) {
  switch (fsh::fileKindOf(start)) {
    case fsh::FileKind::Image:
      return InputKind::FshImage;
    case fsh::FileKind::CompressedImage:
      return InputKind::CompressedFshImage;
    case fsh::FileKind::Other:
      break;
  }
  // The start cannot tell a picture whose content Qt does not recognise (a TGA
  // file's footer lies at its end, and its header looks like nothing Qt
  // knows): a name that asks for such a format is taken at its word, and
  // reading the whole file decides.
  if (contentNamesPicture(formatInContent(start)) || isNamedOnly(formatOfName(fileName)))
    return InputKind::Picture;
  return InputKind::Other;
}

Expected<QImage, Error> readPicture(const QByteArray& bytes, const QString& fileName) {
  const QByteArray content = formatInContent(bytes);
  if (isVector(content)) {
    Error error = Error::picture(Error::PictureProblem::VectorFormat);
    error.format = content;
    return Unexpected(std::move(error));
  }
  const QByteArray format = pictureFormatOf(bytes, fileName);
  if (format.isEmpty()) return Unexpected(Error::picture(Error::PictureProblem::NotAPicture));
  auto picture = decode(bytes, format);
  // Content that looked like one format but does not read as it: the name may know better.
  if (!picture && picture.error().pictureProblem == Error::PictureProblem::Unreadable) {
    const QByteArray named = formatOfName(fileName);
    if (!named.isEmpty() && named != format) {
      if (auto byName = decode(bytes, named)) return byName;
    }
  }
  return picture;
}

Expected<void, Error> checkPictureSize(QSize size) {
  if (qint64(size.width()) * size.height() > MaxPicturePixels)
    return Unexpected(tooManyPixels(size));
  return {};
}

void allowPictureAllocations() {
  // Made once, not by every decode, which batches run on several threads at a time.
  static const bool limitSet = [] {
    QImageReader::setAllocationLimit(int(MaxPicturePixels * 4 / (1 << 20)) + 1);
    return true;
  }();
  Q_UNUSED(limitSet);
}

Expected<QImage, Error> readPictureFile(const QString& path) {
  const auto file = fileio::FileReader::open(path);
  if (!file) return Unexpected(Error::archive(file.error()));
  if (file->length() > MaxPictureFileSize) return Unexpected(fileTooLarge());
  const auto bytes = file->readAt(0, file->length());
  if (!bytes) return Unexpected(Error::archive(bytes.error()));
  return readPicture(*bytes, path);
}

Expected<InputFile, Error> readInputFile(const QString& path) {
  const auto file = fileio::FileReader::open(path);
  if (!file) return InputFile{};
  const auto head = file->readAt(0, std::min(file->length(), fsh::FileKindProbeSize));
  if (!head) return InputFile{};
  InputFile input;
  input.kind = inputKindOf(*head, path);
  if (input.kind == InputKind::FshImage || input.kind == InputKind::Other) return input;

  if (input.kind == InputKind::Picture && file->length() > MaxPictureFileSize)
    return Unexpected(fileTooLarge());
  if (input.kind == InputKind::CompressedFshImage) {
    if (auto length = fsh::checkCompressedFileLength(file->length()); !length)
      return Unexpected(Error::codec(std::move(length).error()));
  }
  const auto bytes = file->readAt(0, file->length());
  if (!bytes) return Unexpected(Error::archive(bytes.error()));
  if (input.kind == InputKind::CompressedFshImage) {
    auto image = fsh::unpackImageFile(*bytes);
    if (!image) return Unexpected(Error::codec(std::move(image).error()));
    input.image = std::move(*image);
    return input;
  }
  auto picture = readPicture(*bytes, path);
  if (!picture) return Unexpected(std::move(picture).error());
  input.picture = std::move(*picture);
  return input;
}

}  // namespace portrait
