#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>
#include <cstdint>
#include <functional>
#include <optional>

#include "fsh/fsh_layout.h"
#include "fsh/mipmap_layout.h"

namespace fsh {

struct EncodedPixels {
  QByteArray data;      // every level, placed by the layout, padded to 16 bytes at the end
  QList<QRgb> palette;  // Indexed8 only: the colours as the palette code stores them
};

// Makes one level's bytes: level 0 is the picture, level i its i-th halving (as
// Format_Indexed8 for Indexed8). Given to encodePixels(), it lets a caller keep
// levels it made before, choose the DXT quality or stop the work (std::nullopt).
using LevelEncoder =
    std::function<std::optional<QByteArray>(uint8_t type, int level, const QImage& picture)>;

// encodeLevel() at the best quality.
std::optional<QByteArray> encodeLevelAtBest(uint8_t type, int level, const QImage& picture);

// Encodes a picture and `mipmapCount` levels computed from it in a bitmap code.
// For Indexed8 a palette of up to 256 colours is built from the picture and
// rounded to what `paletteType` can store; every level indexes into it.
// std::nullopt when the level encoder stopped.
std::optional<EncodedPixels> encodePixels(const QImage& picture, uint8_t type, int mipmapCount,
                                          MipmapLayout layout,
                                          uint8_t paletteType = Code::PaletteArgb8888,
                                          const LevelEncoder& encodeLevel = encodeLevelAtBest);

}  // namespace fsh
