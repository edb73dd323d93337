#include "support/portrait_fixture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "archive/portrait_image.h"
#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"
#include "fsh/replace_bitmap.h"
#include "support/fsh_fixture.h"

QImage paintedPortrait(QSize size, bool background) {
  QImage picture(QSize(256, 256), QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  if (background) {
    QLinearGradient sky(0, 0, 0, 256);
    sky.setColorAt(0, QColor(70, 110, 190));
    sky.setColorAt(1, QColor(20, 30, 70));
    painter.fillRect(picture.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 40));
    for (int i = 0; i < 6; ++i) painter.drawEllipse(QPointF(30 + 40 * i, 40 + 15 * (i % 3)), 9, 9);
  }
  painter.setPen(Qt::NoPen);

  // Jersey: shoulders, with a collar and the number.
  QPainterPath jersey;
  jersey.moveTo(28, 256);
  jersey.cubicTo(30, 205, 60, 188, 100, 182);
  jersey.lineTo(156, 182);
  jersey.cubicTo(196, 188, 226, 205, 228, 256);
  jersey.closeSubpath();
  QLinearGradient cloth(0, 180, 0, 256);
  cloth.setColorAt(0, QColor(187, 228, 98));
  cloth.setColorAt(1, QColor(120, 170, 50));
  painter.setBrush(cloth);
  painter.drawPath(jersey);
  painter.setBrush(QColor(51, 61, 125));
  painter.drawRect(QRectF(28, 236, 200, 6));

  // Neck and head.
  const QColor skin(176, 118, 72);
  painter.setBrush(skin.darker(115));
  painter.drawRoundedRect(QRectF(108, 150, 40, 44), 12, 12);
  painter.setBrush(QColor(51, 61, 125));
  painter.drawChord(QRectF(98, 164, 60, 40), 180 * 16, 180 * 16);
  QRadialGradient face(QPointF(118, 100), 70);
  face.setColorAt(0, skin.lighter(125));
  face.setColorAt(1, skin);
  painter.setBrush(face);
  painter.drawEllipse(QRectF(82, 52, 92, 112));
  painter.drawEllipse(QRectF(74, 100, 16, 26));  // ears
  painter.drawEllipse(QRectF(166, 100, 16, 26));

  // Hair and a headband.
  painter.setBrush(QColor(35, 25, 20));
  painter.drawChord(QRectF(80, 46, 96, 70), 0, 180 * 16);
  painter.setBrush(QColor(255, 255, 255));
  painter.drawRect(QRectF(82, 76, 92, 10));

  // Eyes, brows, nose and a smile.
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRectF(104, 100, 16, 10));
  painter.drawEllipse(QRectF(136, 100, 16, 10));
  painter.setBrush(QColor(40, 30, 25));
  painter.drawEllipse(QRectF(109, 101, 8, 8));
  painter.drawEllipse(QRectF(141, 101, 8, 8));
  QPen line(QColor(60, 35, 25), 3, Qt::SolidLine, Qt::RoundCap);
  painter.setPen(line);
  painter.drawLine(QPointF(102, 94), QPointF(120, 92));
  painter.drawLine(QPointF(136, 92), QPointF(154, 94));
  painter.drawArc(QRectF(108, 112, 40, 28), 200 * 16, 140 * 16);
  painter.drawArc(QRectF(122, 104, 12, 20), 250 * 16, 80 * 16);

  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(34);
  painter.setFont(font);
  painter.setPen(QColor(51, 61, 125));
  painter.drawText(QRectF(28, 196, 200, 40), Qt::AlignCenter, QStringLiteral("23"));
  painter.end();
  return size == picture.size()
             ? picture
             : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QByteArray portraitImage(uint8_t code, const QImage& picture, int mipmaps) {
  const QByteArray image = singleBitmap(code == fsh::Code::Indexed8 ? fsh::Code::Argb8888 : code,
                                        picture, code == fsh::Code::Indexed8 ? 0 : mipmaps)
                               .build();
  if (code != fsh::Code::Indexed8) return image;
  // The codec's own palette for the picture's colours, as a tool that writes
  // 8-bit portraits would choose it.
  const auto file = fsh::parseFsh(image);
  if (!file) return {};
  fsh::ReplaceOptions options;
  options.code = code;
  const auto indexed = fsh::replaceMainBitmap(*file, picture, options);
  return indexed ? *indexed : QByteArray();
}

QImage decodedImage(const QByteArray& image) {
  const auto file = fsh::parseFsh(image);
  if (!file) return {};
  const auto picture = fsh::decodeMainBitmap(*file);
  return picture ? *picture : QImage();
}

QImage decodedPortrait(const QString& archivePath) {
  const auto image = archive::readPortrait(archivePath);
  return image ? decodedImage(*image) : QImage();
}
