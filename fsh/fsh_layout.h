#pragma once

#include <QtGlobal>
#include <cstdint>

// Byte layout of an FSH image and the codec's bounds. Every integer in the file
// is little-endian.
namespace fsh::Layout {

inline constexpr char Magic[] = "SHPI";
inline constexpr int MagicSize = 4;
// magic, total length, entry count, directory id
inline constexpr int HeaderSize = 16;
inline constexpr int LengthOffset = 4;
inline constexpr int EntryCountOffset = 8;
inline constexpr int DirectoryIdOffset = 12;
// per entry: 4-character name, absolute offset
inline constexpr int DirectoryEntrySize = 8;
inline constexpr int EntryNameSize = 4;
inline constexpr char SharedPaletteName[] = "!pal";

// Block header: code, u24 distance to the next block, width, height, centre x,
// centre y, x word (position and flags), y word (position and mipmap count).
inline constexpr int BlockHeaderSize = 16;
inline constexpr int BlockWidthOffset = 4;
inline constexpr int BlockHeightOffset = 6;
inline constexpr int BlockXWordOffset = 12;
inline constexpr int BlockYWordOffset = 14;
inline constexpr uint8_t CompressedFlag = 0x80;
inline constexpr uint8_t TypeMask = 0x7F;
inline constexpr uint32_t MaxBlockDistance = 0xFFFFFF;
inline constexpr unsigned PositionMask = 0x0FFF;
inline constexpr int MipmapShift = 12;
inline constexpr int MaxMipmaps = 15;
// Pixel data and mipmap levels are aligned to this many bytes.
inline constexpr int DataAlignment = 16;

// What a file can make the codec allocate.
inline constexpr int MaxDimension = 4096;
inline constexpr qsizetype MaxFileSize = qsizetype(64) << 20;
inline constexpr int MaxEntries = 16384;
inline constexpr int MaxBlocks = 65536;

}  // namespace fsh::Layout

// Block codes: the low 7 bits of a block's first byte.
namespace fsh::Code {

inline constexpr uint8_t Indexed8 = 0x7B;
inline constexpr uint8_t Rgb565 = 0x78;
inline constexpr uint8_t Argb1555 = 0x7E;
inline constexpr uint8_t Argb4444 = 0x6D;
inline constexpr uint8_t Rgb888 = 0x7F;
inline constexpr uint8_t Argb8888 = 0x7D;
inline constexpr uint8_t Dxt1 = 0x60;
inline constexpr uint8_t Dxt3 = 0x61;
inline constexpr uint8_t Dxt5 = 0x62;

inline constexpr uint8_t PaletteRgb666 = 0x22;
inline constexpr uint8_t PaletteRgb888 = 0x24;
inline constexpr uint8_t PaletteArgb8888 = 0x2A;
inline constexpr uint8_t PaletteRgb565 = 0x29;
inline constexpr uint8_t PaletteArgb1555 = 0x2D;
// Named by one source only and not decoded: recognised so that it is never taken for a bitmap.
inline constexpr uint8_t PaletteRgba5551 = 0x23;

inline constexpr uint8_t Comment = 0x6F;
inline constexpr uint8_t Name = 0x70;
inline constexpr uint8_t HotSpots = 0x7C;

}  // namespace fsh::Code
