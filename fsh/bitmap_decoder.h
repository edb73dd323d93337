#pragma once

#include <QImage>
#include <QList>
#include <QRgb>

#include "common/expected.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"

namespace fsh {

// Decodes level `level` (0: the bitmap itself, 1..n: its mipmaps) of an entry's
// bitmap to QImage::Format_ARGB32.
Expected<QImage, Error> decodeBitmap(const FshFile& file, int entryIndex, int level = 0);
// The same for the main bitmap (see mainBitmapEntry).
Expected<QImage, Error> decodeMainBitmap(const FshFile& file, int level = 0);

// The palette an Indexed8 bitmap in this entry uses: its own palette attachment,
// else the "!pal" entry, else any palette entry; empty when there is none.
Expected<QList<QRgb>, Error> paletteFor(const FshFile& file, int entryIndex);

}  // namespace fsh
