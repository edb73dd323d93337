#include "fsh/palette_codec.h"

#include <algorithm>

#include "fsh/byte_access.h"
#include "fsh/channel_depth.h"
#include "fsh/fsh_layout.h"
#include "fsh/pixel_formats.h"

namespace fsh {

namespace {

QRgb decodeColour(uint8_t type, const uchar* p) {
  switch (type) {
    case Code::PaletteRgb666:
      // 6-bit channels shifted into the top of the byte, as the format's readers do.
      return argb(255, (p[0] & 0x3F) << 2, (p[1] & 0x3F) << 2, (p[2] & 0x3F) << 2);
    case Code::PaletteRgb888:
      return argb(255, p[0], p[1], p[2]);
    case Code::PaletteArgb8888:
      return argb(p[3], p[2], p[1], p[0]);
    case Code::PaletteRgb565: {
      const uint32_t v = readU16(reinterpret_cast<const char*>(p));
      return argb(255, widen5(v >> 11), widen6(v >> 5 & 0x3F), widen5(v & 0x1F));
    }
    case Code::PaletteArgb1555: {
      const uint32_t v = readU16(reinterpret_cast<const char*>(p));
      return argb(v & 0x8000 ? 255 : 0, widen5(v >> 10 & 0x1F), widen5(v >> 5 & 0x1F),
                  widen5(v & 0x1F));
    }
    default:
      return 0;
  }
}

void encodeColour(uint8_t type, QRgb c, uchar* p) {
  switch (type) {
    case Code::PaletteRgb666:
      p[0] = uchar(std::min(63, (qRed(c) + 2) >> 2));
      p[1] = uchar(std::min(63, (qGreen(c) + 2) >> 2));
      p[2] = uchar(std::min(63, (qBlue(c) + 2) >> 2));
      return;
    case Code::PaletteRgb888:
      p[0] = uchar(qRed(c));
      p[1] = uchar(qGreen(c));
      p[2] = uchar(qBlue(c));
      return;
    case Code::PaletteArgb8888:
      p[0] = uchar(qBlue(c));
      p[1] = uchar(qGreen(c));
      p[2] = uchar(qRed(c));
      p[3] = uchar(qAlpha(c));
      return;
    case Code::PaletteRgb565:
      writeU16(
          reinterpret_cast<char*>(p),
          uint16_t(narrow(qRed(c), 31) << 11 | narrow(qGreen(c), 63) << 5 | narrow(qBlue(c), 31)));
      return;
    case Code::PaletteArgb1555:
      writeU16(reinterpret_cast<char*>(p),
               uint16_t((qAlpha(c) >= 128 ? 0x8000 : 0) | narrow(qRed(c), 31) << 10 |
                        narrow(qGreen(c), 31) << 5 | narrow(qBlue(c), 31)));
      return;
    default:
      return;
  }
}

}  // namespace

QList<QRgb> decodePalette(uint8_t type, const uchar* data, int count) {
  const int size = paletteColourSize(type);
  QList<QRgb> colours;
  colours.reserve(count);
  for (int i = 0; i < count; ++i) colours.append(decodeColour(type, data + qsizetype(i) * size));
  return colours;
}

QByteArray encodePalette(uint8_t type, const QList<QRgb>& colours) {
  const int size = paletteColourSize(type);
  QByteArray bytes(colours.size() * size, '\0');
  auto* p = reinterpret_cast<uchar*>(bytes.data());
  for (int i = 0; i < colours.size(); ++i) encodeColour(type, colours[i], p + qsizetype(i) * size);
  return bytes;
}

QRgb paletteStoredColour(uint8_t type, QRgb colour) {
  uchar stored[4] = {};
  encodeColour(type, colour, stored);
  return decodeColour(type, stored);
}

}  // namespace fsh
