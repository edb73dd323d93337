#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>
#include <cstdint>
#include <optional>

#include "fsh/dxt_codec.h"
#include "fsh/encode_progress.h"

// One level of a bitmap: its bytes in a bitmap code <-> an ARGB32 picture.
namespace fsh {

// Decodes levelSize(type, image.width(), image.height()) bytes into `image`
// (ARGB32). Indexed pixels take their colour from the palette; an index past
// its end is transparent black, and without a palette indices show as grey levels.
void decodeLevel(uint8_t type, const uchar* data, const QList<QRgb>& palette, QImage& image);

// Encodes a level: an ARGB32 picture, or for Indexed8 a Format_Indexed8 one.
// Only DXT codes have a quality to choose and take long enough to watch;
// std::nullopt when `progress` stopped the encode.
std::optional<QByteArray> encodeLevel(uint8_t type, const QImage& level,
                                      DxtQuality quality = DxtQuality::Best,
                                      EncodeProgress* progress = nullptr);

}  // namespace fsh
