#include "fsh/dxt_quick_encoder.h"

#include <squish.h>

#include <algorithm>
#include <cstring>

#include "fsh/fsh_layout.h"

#define STB_DXT_IMPLEMENTATION
#define STB_DXT_STATIC
#include <stb/stb_dxt.h>

namespace fsh {

namespace {

constexpr int BlockPixels = 16;

// DXT3 keeps four bits of alpha per pixel, rounded as libsquish rounds them.
void explicitAlpha(const uchar* pixels, uchar* out) {
  for (int i = 0; i < BlockPixels; i += 2) {
    const int low = (pixels[4 * i + 3] * 15 + 127) / 255;
    const int high = (pixels[4 * (i + 1) + 3] * 15 + 127) / 255;
    out[i / 2] = uchar(low | high << 4);
  }
}

// stb_dxt writes four-colour blocks; one whose two colours are equal would be
// read by a DXT1 reader as three colours and transparent black, so its indices
// all name the first colour instead (the same colour either way).
void keepOpaque(uchar* colourBlock) {
  if (colourBlock[0] == colourBlock[2] && colourBlock[1] == colourBlock[3])
    std::memset(colourBlock + 4, 0, 4);
}

bool hasTransparentPixel(const uchar* pixels, int mask) {
  for (int i = 0; i < BlockPixels; ++i) {
    if ((mask >> i & 1) != 0 && pixels[4 * i + 3] < 128) return true;
  }
  return false;
}

}  // namespace

void encodeDxtRowQuick(uint8_t type, const uchar* rgba, int width, int rows, uchar* blocks) {
  const int blockSize = type == Code::Dxt1 ? 8 : 16;
  uchar pixels[4 * BlockPixels];
  for (int bx = 0; bx < width; bx += 4, blocks += blockSize) {
    // A block past the picture's edge repeats its last row and column: stb_dxt
    // has no mask, and the repeated pixels do not pull the colours elsewhere.
    int mask = 0;
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        const int column = std::min(bx + x, width - 1);
        const int row = std::min(y, rows - 1);
        std::memcpy(pixels + qsizetype(4) * (4 * y + x),
                    rgba + 4 * (qsizetype(row) * width + column), 4);
        if (bx + x < width && y < rows) mask |= 1 << (4 * y + x);
      }
    }
    switch (type) {
      case Code::Dxt1:
        // Only DXT1's three-colour blocks keep transparent pixels, which
        // stb_dxt never writes: libsquish's range fit, as quick, does.
        if (hasTransparentPixel(pixels, mask)) {
          squish::CompressMasked(pixels, mask, blocks, squish::kDxt1 | squish::kColourRangeFit);
        } else {
          stb_compress_dxt_block(blocks, pixels, 0, STB_DXT_HIGHQUAL);
          keepOpaque(blocks);
        }
        break;
      case Code::Dxt3:
        explicitAlpha(pixels, blocks);
        stb_compress_dxt_block(blocks + 8, pixels, 0, STB_DXT_HIGHQUAL);
        break;
      default:
        stb_compress_dxt_block(blocks, pixels, 1, STB_DXT_HIGHQUAL);
        break;
    }
  }
}

}  // namespace fsh
