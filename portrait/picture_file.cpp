#include "portrait/picture_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

namespace portrait {

namespace {

constexpr int JpegQuality = 95;

QImage overWhite(const QImage& picture) {
  QImage flat(picture.size(), QImage::Format_RGB32);
  flat.fill(Qt::white);
  QPainter painter(&flat);
  painter.drawImage(0, 0, picture);
  return flat;
}

}  // namespace

Expected<QByteArray, QString> encodePictureFile(const QImage& picture, QByteArrayView format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format.toByteArray());
  if (format == "jpeg") writer.setQuality(JpegQuality);
  if (!writer.write(format == "png" ? picture : overWhite(picture)))
    return Unexpected(writer.errorString());
  return bytes;
}

}  // namespace portrait
