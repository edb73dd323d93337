#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

#include "common/expected.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"

namespace fsh {

// What a window or the command line shows about the main bitmap.
struct BitmapDescription {
  int entryIndex = 0;
  QByteArray entryName;
  int width = 0;
  int height = 0;
  uint8_t code = 0;    // the block type, without the compression bit
  QString formatName;  // "DXT1", "ARGB8888", ... or "unknown 0x79"
  bool supported = false;
  int mipmapCount = 0;  // levels below the bitmap itself
  bool blockCompressed = false;
  bool fileCompressed = false;
};

// Describes the main bitmap; fails only when the file holds none.
Expected<BitmapDescription, Error> describe(const FshFile& file);

// For listing many images without reading them whole: what parseFsh, describe
// and checkMainBitmapDecodes together answer for an image of `length` bytes,
// from `start`, its first bytes, where those suffice: the image is not
// compressed as a whole, its structure lies in start, and the main bitmap's
// pixel data is stored uncompressed in a code without a palette. Nothing
// otherwise: the whole image is then needed.
std::optional<Expected<BitmapDescription, Error>> describeFromStart(QByteArrayView start,
                                                                    qsizetype length);

}  // namespace fsh
