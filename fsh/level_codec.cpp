#include "fsh/level_codec.h"

#include <cstring>

#include "fsh/byte_access.h"
#include "fsh/channel_depth.h"
#include "fsh/dxt_codec.h"
#include "fsh/fsh_layout.h"
#include "fsh/pixel_formats.h"

namespace fsh {

namespace {

uint32_t fromRgb565(uint32_t v) {
  return argb(255, widen5(v >> 11), widen6(v >> 5 & 0x3F), widen5(v & 0x1F));
}
uint32_t fromArgb1555(uint32_t v) {
  return argb(v & 0x8000 ? 255 : 0, widen5(v >> 10 & 0x1F), widen5(v >> 5 & 0x1F),
              widen5(v & 0x1F));
}
uint32_t fromArgb4444(uint32_t v) {
  return argb(widen4(v >> 12), widen4(v >> 8 & 0xF), widen4(v >> 4 & 0xF), widen4(v & 0xF));
}

uint16_t toRgb565(QRgb c) {
  return uint16_t(narrow(qRed(c), 31) << 11 | narrow(qGreen(c), 63) << 5 | narrow(qBlue(c), 31));
}
uint16_t toArgb1555(QRgb c) {
  return uint16_t((qAlpha(c) >= 128 ? 0x8000 : 0) | narrow(qRed(c), 31) << 10 |
                  narrow(qGreen(c), 31) << 5 | narrow(qBlue(c), 31));
}
uint16_t toArgb4444(QRgb c) {
  return uint16_t(narrow(qAlpha(c), 15) << 12 | narrow(qRed(c), 15) << 8 |
                  narrow(qGreen(c), 15) << 4 | narrow(qBlue(c), 15));
}

template <typename Convert>
void decodeSixteenBit(const uchar* data, QImage& image, Convert convert) {
  const int width = image.width();
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < width; ++x, data += 2) line[x] = convert(uint32_t(data[0] | data[1] << 8));
  }
}

template <typename Convert>
void encodeSixteenBit(const QImage& level, uchar* out, Convert convert) {
  for (int y = 0; y < level.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(level.constScanLine(y));
    for (int x = 0; x < level.width(); ++x, out += 2) {
      writeU16(reinterpret_cast<char*>(out), convert(line[x]));
    }
  }
}

}  // namespace

void decodeLevel(uint8_t type, const uchar* data, const QList<QRgb>& palette, QImage& image) {
  const int width = image.width();
  const int height = image.height();
  switch (type) {
    case Code::Argb8888:
      // The same bytes as ARGB32 on a little-endian machine.
      for (int y = 0; y < height; ++y, data += qsizetype(width) * 4) {
        std::memcpy(image.scanLine(y), data, size_t(width) * 4);
      }
      return;
    case Code::Rgb888:
      for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, data += 3) line[x] = argb(255, data[2], data[1], data[0]);
      }
      return;
    case Code::Rgb565:
      decodeSixteenBit(data, image, fromRgb565);
      return;
    case Code::Argb1555:
      decodeSixteenBit(data, image, fromArgb1555);
      return;
    case Code::Argb4444:
      decodeSixteenBit(data, image, fromArgb4444);
      return;
    case Code::Indexed8: {
      QRgb colours[256];
      for (int i = 0; i < 256; ++i) {
        colours[i] = palette.isEmpty() ? argb(255, i, i, i) : i < palette.size() ? palette[i] : 0;
      }
      for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = colours[*data++];
      }
      return;
    }
    case Code::Dxt1:
    case Code::Dxt3:
    case Code::Dxt5:
      decodeDxt(type, data, image);
      return;
    default:
      return;
  }
}

std::optional<QByteArray> encodeLevel(uint8_t type, const QImage& level, DxtQuality quality,
                                      EncodeProgress* progress) {
  if (isDxtCode(type)) return encodeDxt(type, level, quality, progress);
  const int width = level.width();
  QByteArray bytes(levelSize(type, width, level.height()), Qt::Uninitialized);
  auto* out = reinterpret_cast<uchar*>(bytes.data());
  switch (type) {
    case Code::Argb8888:
      for (int y = 0; y < level.height(); ++y, out += qsizetype(width) * 4) {
        std::memcpy(out, level.constScanLine(y), size_t(width) * 4);
      }
      break;
    case Code::Rgb888:
      for (int y = 0; y < level.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(level.constScanLine(y));
        for (int x = 0; x < width; ++x, out += 3) {
          out[0] = uchar(qBlue(line[x]));
          out[1] = uchar(qGreen(line[x]));
          out[2] = uchar(qRed(line[x]));
        }
      }
      break;
    case Code::Rgb565:
      encodeSixteenBit(level, out, toRgb565);
      break;
    case Code::Argb1555:
      encodeSixteenBit(level, out, toArgb1555);
      break;
    case Code::Argb4444:
      encodeSixteenBit(level, out, toArgb4444);
      break;
    case Code::Indexed8:
      for (int y = 0; y < level.height(); ++y, out += width) {
        std::memcpy(out, level.constScanLine(y), size_t(width));
      }
      break;
    default:
      break;
  }
  if (progress != nullptr && !progress->advance(qint64(width) * level.height()))
    return std::nullopt;
  return bytes;
}

}  // namespace fsh
