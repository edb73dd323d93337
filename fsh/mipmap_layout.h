#pragma once

#include <QByteArrayView>
#include <QList>
#include <cstdint>

// Where the main bitmap and its mipmap levels lie in a block's pixel data.
namespace fsh {

// Writers disagree: some pad every level to a 16-byte boundary (counted from the
// start of the pixel data), others pack the levels and pad only after the last.
enum class MipmapLayout { Padded, Packed };

struct LevelPlacement {
  qsizetype offset = 0;  // from the start of the pixel data
  qsizetype size = 0;
  int width = 0;
  int height = 0;
};

// Level 0 is the main bitmap; level i is (width >> i) x (height >> i).
QList<LevelPlacement> placeLevels(uint8_t type, int width, int height, int mipmapCount,
                                  MipmapLayout layout);
// Bytes from the start of the pixel data to the end of the last level.
qsizetype pixelDataEnd(const QList<LevelPlacement>& levels);

// The layout of the levels in a block's pixel data: the one that fits, and when
// both fit, the one that leaves fewer bytes after its final 16-byte padding.
// When that does not tell them apart either, the padded layout if every gap it
// would leave between levels holds zeros. Padded when neither fits.
MipmapLayout detectMipmapLayout(uint8_t type, int width, int height, int mipmapCount,
                                QByteArrayView data);

}  // namespace fsh
