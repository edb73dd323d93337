#pragma once

#include <QImage>

#include "common/expected.h"
#include "fsh/bitmap_check.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"

namespace fsh {

// Decodes level `level` (0: the bitmap itself, 1..n: its mipmaps) of an entry's
// bitmap to QImage::Format_ARGB32.
Expected<QImage, Error> decodeBitmap(const FshFile& file, int entryIndex, int level = 0);
// The same for the main bitmap (see mainBitmapEntry).
Expected<QImage, Error> decodeMainBitmap(const FshFile& file, int level = 0);

}  // namespace fsh
