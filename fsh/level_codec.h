#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>
#include <cstdint>

// One level of a bitmap: its bytes in a bitmap code <-> an ARGB32 picture.
namespace fsh {

// Decodes levelSize(type, image.width(), image.height()) bytes into `image`
// (ARGB32). Indexed pixels take their colour from the palette; an index past
// its end is transparent black, and without a palette indices show as grey levels.
void decodeLevel(uint8_t type, const uchar* data, const QList<QRgb>& palette, QImage& image);

// Encodes a level: an ARGB32 picture, or for Indexed8 a Format_Indexed8 one.
QByteArray encodeLevel(uint8_t type, const QImage& level);

}  // namespace fsh
