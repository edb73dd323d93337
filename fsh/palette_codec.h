#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <cstdint>

// Palette blocks: colours stored in one of five codes (see fsh_layout.h).
namespace fsh {

// Decodes `count` colours; data holds at least count * paletteColourSize(type) bytes.
QList<QRgb> decodePalette(uint8_t type, const uchar* data, int count);
QByteArray encodePalette(uint8_t type, const QList<QRgb>& colours);
// The colour as the palette code stores it: what a reader gets back.
QRgb paletteStoredColour(uint8_t type, QRgb colour);

}  // namespace fsh
