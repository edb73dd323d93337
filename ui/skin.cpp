#include "ui/skin.h"

#include <QDataStream>
#include <QPixmap>
#include <QResource>

namespace ui {

namespace {

// A picture bundled as its width and height (32-bit little-endian words) and
// its rows of RGB32 pixels: the main window paints its skin before anything
// else, and Qt's image readers look through every installed image plugin the
// first time they are used, which takes longer than the rest of the window.
QImage bundledPicture(const QString& path) {
  const QByteArray bytes = QResource(path).uncompressedData();
  QDataStream header(bytes);
  header.setByteOrder(QDataStream::LittleEndian);
  quint32 width = 0;
  quint32 height = 0;
  header >> width >> height;
  if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
      qsizetype(width) * height * 4 != bytes.size() - 8)
    return {};
  return QImage(reinterpret_cast<const uchar*>(bytes.constData() + 8), int(width), int(height),
                qsizetype(width) * 4, QImage::Format_RGB32)
      .copy();
}

}  // namespace

const QImage& skinPicture() {
  static const QImage skin = bundledPicture(QStringLiteral(":/skin.rgb32"));
  return skin;
}

QIcon programIcon() {
  return QIcon(QPixmap::fromImage(bundledPicture(QStringLiteral(":/icon.rgb32"))));
}

}  // namespace ui
