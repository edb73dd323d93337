#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <optional>

#include "fsh/encode_progress.h"

// DXT1/3/5 (BC1/2/3): 4x4 pixel blocks of 8 or 16 bytes.
namespace fsh {

// Decodes into `image` (ARGB32, width x height) from levelSize(type, width, height) bytes.
// Decoded here rather than by libsquish: the same results, several times faster
// (see the README's performance table).
void decodeDxt(uint8_t type, const uchar* data, QImage& image);

enum class DxtQuality {
  Best,   // libsquish's cluster fit: what an archive gets
  Quick,  // stb_dxt: a preview while the best encode runs
};

// Encodes an ARGB32 picture a row of blocks at a time, telling `progress` after
// each row; std::nullopt when it stopped the encode.
std::optional<QByteArray> encodeDxt(uint8_t type, const QImage& picture,
                                    DxtQuality quality = DxtQuality::Best,
                                    EncodeProgress* progress = nullptr);

}  // namespace fsh
