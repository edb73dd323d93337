#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>

#include "common/expected.h"
#include "fsh/fsh_error.h"

// What the codec knows about each block code: names, sizes, kinds.
namespace fsh {

// Bitmap codes the codec reads and writes.
bool isBitmapCode(uint8_t type);
bool isDxtCode(uint8_t type);
// Palette codes, including the one the codec recognises but does not decode.
bool isPaletteCode(uint8_t type);
// Bytes of one palette colour, or 0 for a palette code the codec cannot decode.
int paletteColourSize(uint8_t type);

// "DXT1", "ARGB8888", ...; "unknown 0x79" for codes outside the table.
QString formatName(uint8_t type);

// Bytes of one level of a bitmap: DXT levels are rounded up to whole 4x4 blocks.
qsizetype levelSize(uint8_t type, int width, int height);

// The names the command line uses for target formats, in the order help lists them.
QStringList formatCommandNames();
// "keep" (the bitmap's own code) gives no code; an unknown name is an error
// that lists the known ones. Case does not matter.
Expected<std::optional<uint8_t>, Error> codeForFormatName(QStringView name);

}  // namespace fsh
