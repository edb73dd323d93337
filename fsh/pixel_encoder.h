#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>
#include <cstdint>

#include "fsh/fsh_layout.h"
#include "fsh/mipmap_layout.h"

namespace fsh {

struct EncodedPixels {
  QByteArray data;      // every level, placed by the layout, padded to 16 bytes at the end
  QList<QRgb> palette;  // Indexed8 only: the colours as the palette code stores them
};

// Encodes a picture and `mipmapCount` levels computed from it in a bitmap code.
// For Indexed8 a palette of up to 256 colours is built from the picture and
// rounded to what `paletteType` can store; every level indexes into it.
EncodedPixels encodePixels(const QImage& picture, uint8_t type, int mipmapCount,
                           MipmapLayout layout, uint8_t paletteType = Code::PaletteArgb8888);

}  // namespace fsh
