#include "fsh/dxt_codec.h"

#include <squish.h>

#include <algorithm>
#include <vector>

#include "fsh/channel_depth.h"
#include "fsh/dxt_quick_encoder.h"
#include "fsh/fsh_layout.h"
#include "fsh/pixel_formats.h"

namespace fsh {

namespace {

struct Colour {
  uint32_t r, g, b;
};

Colour unpack565(uint32_t v) { return {widen5(v >> 11), widen6(v >> 5 & 0x3F), widen5(v & 0x1F)}; }

// The four colours a colour block can name. DXT1 blocks whose first colour is not
// greater than the second hold three colours and transparent black.
void colourTable(const uchar* block, bool dxt1, uint32_t* table) {
  const uint32_t a = block[0] | uint32_t(block[1]) << 8;
  const uint32_t b = block[2] | uint32_t(block[3]) << 8;
  const Colour c = unpack565(a);
  const Colour d = unpack565(b);
  table[0] = argb(255, c.r, c.g, c.b);
  table[1] = argb(255, d.r, d.g, d.b);
  if (dxt1 && a <= b) {
    table[2] = argb(255, (c.r + d.r) / 2, (c.g + d.g) / 2, (c.b + d.b) / 2);
    table[3] = 0;
  } else {
    table[2] = argb(255, (2 * c.r + d.r) / 3, (2 * c.g + d.g) / 3, (2 * c.b + d.b) / 3);
    table[3] = argb(255, (c.r + 2 * d.r) / 3, (c.g + 2 * d.g) / 3, (c.b + 2 * d.b) / 3);
  }
}

// DXT5's eight alpha values, already in the top byte of a pixel.
void alphaCodesDxt5(const uchar* block, uint32_t* codes) {
  const uint32_t a0 = block[0];
  const uint32_t a1 = block[1];
  uint32_t values[8] = {a0, a1};
  if (a0 <= a1) {
    for (uint32_t i = 1; i < 5; ++i) values[1 + i] = ((5 - i) * a0 + i * a1) / 5;
    values[6] = 0;
    values[7] = 255;
  } else {
    for (uint32_t i = 1; i < 7; ++i) values[1 + i] = ((7 - i) * a0 + i * a1) / 7;
  }
  for (int i = 0; i < 8; ++i) codes[i] = values[i] << 24;
}

constexpr int BandPixels = 16 * 1024;

uint64_t littleEndian(const uchar* bytes, int count) {
  uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

// The 16 pixels of a block into the picture, consuming the index words as it goes.
template <uint8_t Type>
void decodeBlock(uchar* at, qsizetype stride, int rows, int columns, const uint32_t* table,
                 uint32_t colourBits, uint64_t alphaBits, const uint32_t* alphaCodes) {
  for (int y = 0; y < rows; ++y, at += stride) {
    auto* line = reinterpret_cast<uint32_t*>(at);
    for (int x = 0; x < 4; ++x) {
      uint32_t pixel = table[colourBits & 3];
      colourBits >>= 2;
      if constexpr (Type == Code::Dxt3) {
        pixel |= widen4(uint32_t(alphaBits) & 0xF) << 24;
        alphaBits >>= 4;
      } else if constexpr (Type == Code::Dxt5) {
        pixel |= alphaCodes[alphaBits & 7];
        alphaBits >>= 3;
      }
      if (x < columns) line[x] = pixel;
    }
  }
}

template <uint8_t Type>
void decodeBlocks(const uchar* data, uchar* bits, qsizetype stride, int width, int height) {
  constexpr bool dxt1 = Type == Code::Dxt1;
  constexpr int blockSize = dxt1 ? 8 : 16;
  uint32_t table[4];
  uint32_t alphaCodes[8];
  uint64_t alphaBits = 0;
  for (int by = 0; by < height; by += 4) {
    const int rows = std::min(4, height - by);
    for (int bx = 0; bx < width; bx += 4, data += blockSize) {
      const int columns = std::min(4, width - bx);
      const uchar* colour = dxt1 ? data : data + 8;
      colourTable(colour, dxt1, table);
      if constexpr (!dxt1) {
        for (uint32_t& entry : table) entry &= 0x00FFFFFF;
      }
      if constexpr (Type == Code::Dxt3) alphaBits = littleEndian(data, 8);
      if constexpr (Type == Code::Dxt5) {
        alphaCodesDxt5(data, alphaCodes);
        alphaBits = littleEndian(data + 2, 6);
      }
      const auto colourBits = uint32_t(littleEndian(colour + 4, 4));
      uchar* at = bits + by * stride + qsizetype(bx) * 4;
      if (rows == 4 && columns == 4) {
        decodeBlock<Type>(at, stride, 4, 4, table, colourBits, alphaBits, alphaCodes);
      } else {
        decodeBlock<Type>(at, stride, rows, columns, table, colourBits, alphaBits, alphaCodes);
      }
    }
  }
}

}  // namespace

void decodeDxt(uint8_t type, const uchar* data, QImage& image) {
  // Taken once: QImage::scanLine() checks for sharing on every call.
  uchar* const bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  switch (type) {
    case Code::Dxt1:
      decodeBlocks<Code::Dxt1>(data, bits, stride, image.width(), image.height());
      break;
    case Code::Dxt3:
      decodeBlocks<Code::Dxt3>(data, bits, stride, image.width(), image.height());
      break;
    default:
      decodeBlocks<Code::Dxt5>(data, bits, stride, image.width(), image.height());
      break;
  }
}

std::optional<QByteArray> encodeDxt(uint8_t type, const QImage& picture, DxtQuality quality,
                                    EncodeProgress* progress) {
  const int width = picture.width();
  const int height = picture.height();
  const int flags = type == Code::Dxt1   ? squish::kDxt1
                    : type == Code::Dxt3 ? squish::kDxt3
                                         : squish::kDxt5;
  QByteArray blocks(levelSize(type, width, height), Qt::Uninitialized);
  // Watched, it is encoded a band of rows at a time, between which progress
  // is told and the encode can stop: about 16K pixels, a few milliseconds.
  // Not a row of blocks each: libsquish spreads each call over its OpenMP
  // threads, and on a busy machine waiting for them at every row of blocks made
  // a 256x256 picture four times as slow; bands of 16K pixels cost about 5%.
  // Unwatched, it is one call, as fast as libsquish is.
  const int bandRows = progress == nullptr ? std::max(height, 1)
                                           : std::max(4, (BandPixels / std::max(1, width)) & ~3);
  // Both encoders read R, G, B, A bytes; ARGB32 holds B, G, R, A.
  std::vector<uchar> rgba(size_t(width) * 4 * size_t(std::min(bandRows, height)));
  for (int top = 0; top < height; top += bandRows) {
    const int rows = std::min(bandRows, height - top);
    uchar* out = rgba.data();
    for (int y = top; y < top + rows; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
      for (int x = 0; x < width; ++x, out += 4) {
        out[0] = uchar(qRed(line[x]));
        out[1] = uchar(qGreen(line[x]));
        out[2] = uchar(qBlue(line[x]));
        out[3] = uchar(qAlpha(line[x]));
      }
    }
    auto* band = reinterpret_cast<uchar*>(blocks.data()) + levelSize(type, width, top);
    if (quality == DxtQuality::Quick) {
      for (int row = 0; row < rows; row += 4) {
        encodeDxtRowQuick(type, rgba.data() + qsizetype(row) * width * 4, width,
                          std::min(4, rows - row), band + levelSize(type, width, row));
      }
    } else {
      squish::CompressImage(rgba.data(), width, rows, band, flags | squish::kColourClusterFit);
    }
    if (progress != nullptr && !progress->advance(qint64(width) * rows)) return std::nullopt;
  }
  return blocks;
}

}  // namespace fsh
