#include "portrait/mime_picture.h"

#include <QMimeData>

#include "portrait/input_file.h"

namespace portrait {

namespace {

// The picture formats the data offers as encoded bytes ("image/png"), PNG
// first: it keeps transparency and every program offers it.
QStringList encodedPictureTypes(const QMimeData& data) {
  QStringList types;
  for (const QString& type : data.formats()) {
    if (!type.startsWith(QLatin1String("image/"))) continue;
    const QByteArray format = type.mid(6).toLatin1().toLower();
    if (!pictureFormats().contains(format)) continue;
    if (format == "png")
      types.prepend(type);
    else
      types.append(type);
  }
  return types;
}

}  // namespace

std::optional<Expected<QImage, Error>> pictureInMimeData(const QMimeData& data) {
  for (const QString& type : encodedPictureTypes(data)) {
    const QByteArray bytes = data.data(type);
    if (bytes.isEmpty()) continue;
    if (bytes.size() > MaxPictureFileSize) {
      Error error = Error::picture(Error::PictureProblem::FileTooLarge);
      error.limit = MaxPictureFileSize;
      return Unexpected(std::move(error));
    }
    // The type names the format, as a suffix would.
    return readPicture(bytes, QLatin1String("clipboard.") + type.mid(6));
  }
  if (!data.hasImage()) return std::nullopt;
  // Decoded by Qt already; it refuses what passes its allocation limit and
  // leaves no reason.
  const auto picture = qvariant_cast<QImage>(data.imageData());
  if (picture.isNull()) return Unexpected(Error::picture(Error::PictureProblem::Unreadable));
  if (auto size = checkPictureSize(picture.size()); !size)
    return Unexpected(std::move(size).error());
  return picture;
}

}  // namespace portrait
