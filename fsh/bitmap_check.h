#pragma once

#include <QList>
#include <QRgb>
#include <cstdint>
#include <optional>

#include "common/expected.h"
#include "fsh/block_data.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"
#include "fsh/mipmap_layout.h"

// Whether a bitmap can be decoded, told without converting a pixel: for a
// listing of many files, and for the decoder, which checks with the same code.
// Qt Core only (QRgb is a plain number).
namespace fsh {

// The palette an Indexed8 bitmap in this entry uses: its own palette attachment,
// else the "!pal" entry, else any palette entry; empty when there is none.
Expected<QList<QRgb>, Error> paletteFor(const FshFile& file, int entryIndex);

// The index of the main bitmap's entry (see mainBitmapEntry), or the fault of a
// file that holds none.
Expected<int, Error> mainBitmap(const FshFile& file);

// Everything decoding a level needs, every check passed: only the conversion
// of its pixels, which cannot fail, is left.
struct LevelSource {
  uint8_t type = 0;
  BlockData data;
  LevelPlacement place;
  QList<QRgb> palette;
};
Expected<LevelSource, Error> findLevel(const FshFile& file, int entryIndex, int level);

// Whether decoding the level would succeed, and if not why, with every check
// decoding makes.
Expected<void, Error> checkBitmapDecodes(const FshFile& file, int entryIndex, int level = 0);
Expected<void, Error> checkMainBitmapDecodes(const FshFile& file, int level = 0);

// What checkBitmapDecodes would answer for the bitmap itself (level 0), from
// its block's header and the size of its data alone, where that is all it
// needs: pixel data stored uncompressed, in a code without a palette. Nothing
// otherwise.
std::optional<Expected<void, Error>> checkBitmapDecodesFromHeader(const Block& block);

}  // namespace fsh
