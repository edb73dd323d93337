#include "ui/skin.h"

#include <QDataStream>
#include <QPainter>
#include <QPixmap>
#include <QResource>
#include <algorithm>
#include <cstring>

namespace ui {

namespace {

// A picture bundled as its width and height (32-bit little-endian words) and
// its rows of RGB32 pixels: the main window paints its skin before anything
// else, and Qt's image readers look through every installed image plugin the
// first time they are used, which takes longer than the rest of the window.
// The resource is stored uncompressed, so the picture shares the program's
// read-only data instead of copying it.
QImage bundledPicture(const QString& path) {
  const QResource resource(path);
  if (resource.compressionAlgorithm() != QResource::NoCompression) return {};
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), resource.size());
  QDataStream header(bytes);
  header.setByteOrder(QDataStream::LittleEndian);
  quint32 width = 0;
  quint32 height = 0;
  header >> width >> height;
  if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
      qsizetype(width) * height * 4 != bytes.size() - 8)
    return {};
  // RGB32 pixels carry an opaque alpha byte, so they read unchanged as
  // premultiplied ARGB, the format of the window's face (transparent outside
  // its outline): it is copied into the face without a conversion.
  const char* pixels = bytes.constData() + 8;
  constexpr QImage::Format format = QImage::Format_ARGB32_Premultiplied;
  // QImage needs its pixels 32-bit aligned; the bundled data usually is.
  if (quintptr(pixels) % alignof(quint32) == 0)
    return QImage(reinterpret_cast<const uchar*>(pixels), int(width), int(height),
                  qsizetype(width) * 4, format);
  QImage aligned(int(width), int(height), format);
  std::memcpy(aligned.bits(), pixels, size_t(aligned.sizeInBytes()));
  return aligned;
}

}  // namespace

const QImage& skinPicture() {
  static const QImage skin = bundledPicture(QStringLiteral(":/skin.rgb32"));
  return skin;
}

QImage outlinedSkin(const QSize& size, const QRect& skinRect, const QRegion& outline) {
  const QImage& skin = skinPicture();
  // At the design's pixel size the skin is copied as it is; on other screens
  // it is drawn at its size first.
  QImage placed = skin;
  if (skinRect.size() != skin.size()) {
    placed = QImage(skinRect.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&placed);
    painter.drawImage(placed.rect(), skin);
  }
  constexpr quint32 White = 0xffffffff;
  QImage face(size, QImage::Format_ARGB32_Premultiplied);
  face.fill(Qt::transparent);
  const QRegion shown = outline.isEmpty() ? QRegion(face.rect()) : outline & face.rect();
  // Row by row, as plain copies: a painter clipped to the outline would fill
  // it in spans, on threads that Qt starts for the purpose.
  for (const QRect& part : shown) {
    for (int y = part.top(); y <= part.bottom(); ++y) {
      auto* row = reinterpret_cast<quint32*>(face.scanLine(y));
      std::fill(row + part.left(), row + part.right() + 1, White);
      const QRect span = part & QRect(skinRect.left(), y, skinRect.width(), 1) & skinRect;
      if (span.isEmpty()) continue;
      std::memcpy(
          row + span.left(),
          placed.constScanLine(y - skinRect.top()) + qsizetype(span.left() - skinRect.left()) * 4,
          size_t(span.width()) * 4);
    }
  }
  return face;
}

QIcon programIcon() {
  return QIcon(QPixmap::fromImage(bundledPicture(QStringLiteral(":/icon.rgb32"))));
}

}  // namespace ui
