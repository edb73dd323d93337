#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <optional>

#include "common/expected.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"
#include "fsh/pixel_encoder.h"

namespace fsh {

struct ReplaceOptions {
  std::optional<uint8_t> code;     // a bitmap code; default: the bitmap's own
  std::optional<int> mipmapCount;  // default: the count the bitmap has
  // Makes each level's bytes; when it stops, so does the replacement (Stopped).
  LevelEncoder encodeLevel = encodeLevelAtBest;
};

// Puts a picture of the bitmap's own size in place of an entry's bitmap, with
// freshly computed mipmaps, and returns the whole new file. Everything else is
// kept byte for byte: directory id and names, the filler, the block header's
// centre, position and flags, other entries, every attachment. Data that was
// compressed is compressed again. The result is always a plain FSH image (a
// file compressed as a whole comes back decompressed) whose length word is its size.
// An Indexed8 bitmap gets a palette built from the picture: written into its own
// palette attachment in that attachment's code, or added as a new 32-bit one
// right after the bitmap when it had none, so that shared palettes stay as they are.
Expected<QByteArray, Error> replaceBitmap(const FshFile& file, int entryIndex,
                                          const QImage& picture,
                                          const ReplaceOptions& options = {});
Expected<QByteArray, Error> replaceMainBitmap(const FshFile& file, const QImage& picture,
                                              const ReplaceOptions& options = {});

}  // namespace fsh
