#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>

// DXT1/3/5 (BC1/2/3): 4x4 pixel blocks of 8 or 16 bytes.
namespace fsh {

// Decodes into `image` (ARGB32, width x height) from levelSize(type, width, height) bytes.
// Decoded here rather than by libsquish: the same results, several times faster
// (see the README's performance table).
void decodeDxt(uint8_t type, const uchar* data, QImage& image);

// Encodes an ARGB32 picture with libsquish's cluster fit.
QByteArray encodeDxt(uint8_t type, const QImage& picture);

}  // namespace fsh
