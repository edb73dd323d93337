#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <optional>

// Which picture a file name asks for. Inline and Qt Core only: the command
// line decides by the name before it loads any picture support.
namespace portrait {

// The picture formats a portrait is written as, chosen by the file's suffix.
enum class PictureFormat { Png, Bmp, Jpeg };

// The format a file name asks for by its suffix (.png, .bmp, .jpg or .jpeg,
// in any case), if any: other names get the FSH image itself.
inline std::optional<PictureFormat> pictureFormatForPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == u"png") return PictureFormat::Png;
  if (suffix == u"bmp") return PictureFormat::Bmp;
  if (suffix == u"jpg" || suffix == u"jpeg") return PictureFormat::Jpeg;
  return std::nullopt;
}

// Whether a file name ends in the suffix of a picture format that is not
// written (.gif, .webp, .tif, ...): FSH bytes under such a name would pass
// for a picture.
inline bool namesOtherPictureFormat(const QString& path) {
  static const QStringList Others{
      QStringLiteral("gif"),  QStringLiteral("webp"), QStringLiteral("tga"),
      QStringLiteral("tif"),  QStringLiteral("tiff"), QStringLiteral("ico"),
      QStringLiteral("cur"),  QStringLiteral("icns"), QStringLiteral("ppm"),
      QStringLiteral("pgm"),  QStringLiteral("pbm"),  QStringLiteral("pnm"),
      QStringLiteral("xpm"),  QStringLiteral("xbm"),  QStringLiteral("wbmp"),
      QStringLiteral("svg"),  QStringLiteral("svgz"), QStringLiteral("dds"),
      QStringLiteral("psd"),  QStringLiteral("heic"), QStringLiteral("heif"),
      QStringLiteral("avif"), QStringLiteral("jxl"),  QStringLiteral("jp2"),
      QStringLiteral("jfif"), QStringLiteral("jpe"),  QStringLiteral("apng")};
  return Others.contains(QFileInfo(path).suffix().toLower());
}

}  // namespace portrait
