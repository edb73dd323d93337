#pragma once

#include <QImage>
#include <QList>
#include <QRgb>
#include <optional>

#include "common/expected.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"

namespace fsh {

// Decodes level `level` (0: the bitmap itself, 1..n: its mipmaps) of an entry's
// bitmap to QImage::Format_ARGB32.
Expected<QImage, Error> decodeBitmap(const FshFile& file, int entryIndex, int level = 0);
// The same for the main bitmap (see mainBitmapEntry).
Expected<QImage, Error> decodeMainBitmap(const FshFile& file, int level = 0);

// Whether decoding the level would succeed, and if not why, with every check
// decoding makes but without converting a pixel: for a listing of many files.
Expected<void, Error> checkBitmapDecodes(const FshFile& file, int entryIndex, int level = 0);
Expected<void, Error> checkMainBitmapDecodes(const FshFile& file, int level = 0);

// What checkBitmapDecodes would answer for the bitmap itself (level 0), from
// its block's header and the size of its data alone, where that is all it
// needs: pixel data stored uncompressed, in a code without a palette. Nothing
// otherwise.
std::optional<Expected<void, Error>> checkBitmapDecodesFromHeader(const Block& block);

// The palette an Indexed8 bitmap in this entry uses: its own palette attachment,
// else the "!pal" entry, else any palette entry; empty when there is none.
Expected<QList<QRgb>, Error> paletteFor(const FshFile& file, int entryIndex);

}  // namespace fsh
