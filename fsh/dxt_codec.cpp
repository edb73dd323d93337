#include "fsh/dxt_codec.h"

#include <squish.h>

#include <algorithm>
#include <vector>

#include "fsh/channel_depth.h"
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

// Alpha of the 16 pixels, row by row.
void alphaDxt3(const uchar* block, uint32_t* alpha) {
  for (int i = 0; i < 8; ++i) {
    alpha[2 * i] = widen4(block[i] & 0x0F);
    alpha[2 * i + 1] = widen4(block[i] >> 4);
  }
}

void alphaDxt5(const uchar* block, uint32_t* alpha) {
  const uint32_t a0 = block[0];
  const uint32_t a1 = block[1];
  uint32_t codes[8] = {a0, a1};
  if (a0 <= a1) {
    for (uint32_t i = 1; i < 5; ++i) codes[1 + i] = ((5 - i) * a0 + i * a1) / 5;
    codes[6] = 0;
    codes[7] = 255;
  } else {
    for (uint32_t i = 1; i < 7; ++i) codes[1 + i] = ((7 - i) * a0 + i * a1) / 7;
  }
  // Two groups of 24 bits, eight 3-bit indices each.
  for (int group = 0; group < 2; ++group) {
    const uchar* bits = block + 2 + 3 * group;
    const uint32_t word = bits[0] | uint32_t(bits[1]) << 8 | uint32_t(bits[2]) << 16;
    for (int i = 0; i < 8; ++i) alpha[8 * group + i] = codes[word >> (3 * i) & 7];
  }
}

}  // namespace

void decodeDxt(uint8_t type, const uchar* data, QImage& image) {
  const int width = image.width();
  const int height = image.height();
  const bool dxt1 = type == Code::Dxt1;
  const int blockSize = dxt1 ? 8 : 16;
  uint32_t table[4];
  uint32_t alpha[16];
  for (int by = 0; by < height; by += 4) {
    const int rows = std::min(4, height - by);
    for (int bx = 0; bx < width; bx += 4, data += blockSize) {
      const int columns = std::min(4, width - bx);
      const uchar* colour = dxt1 ? data : data + 8;
      colourTable(colour, dxt1, table);
      if (type == Code::Dxt3) alphaDxt3(data, alpha);
      if (type == Code::Dxt5) alphaDxt5(data, alpha);
      for (int y = 0; y < rows; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(by + y)) + bx;
        const uint32_t indices = colour[4 + y];
        if (dxt1) {
          for (int x = 0; x < columns; ++x) line[x] = table[indices >> (2 * x) & 3];
        } else {
          for (int x = 0; x < columns; ++x) {
            line[x] = (table[indices >> (2 * x) & 3] & 0x00FFFFFF) | alpha[4 * y + x] << 24;
          }
        }
      }
    }
  }
}

QByteArray encodeDxt(uint8_t type, const QImage& picture) {
  const int width = picture.width();
  const int height = picture.height();
  // libsquish reads R, G, B, A bytes; ARGB32 holds B, G, R, A.
  std::vector<uchar> rgba(size_t(width) * height * 4);
  uchar* out = rgba.data();
  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < width; ++x, out += 4) {
      out[0] = uchar(qRed(line[x]));
      out[1] = uchar(qGreen(line[x]));
      out[2] = uchar(qBlue(line[x]));
      out[3] = uchar(qAlpha(line[x]));
    }
  }
  const int flags = type == Code::Dxt1   ? squish::kDxt1
                    : type == Code::Dxt3 ? squish::kDxt3
                                         : squish::kDxt5;
  QByteArray blocks(levelSize(type, width, height), Qt::Uninitialized);
  squish::CompressImage(rgba.data(), width, height, blocks.data(), flags | squish::kColourClusterFit);
  return blocks;
}

}  // namespace fsh
