#include "fsh/bitmap_check.h"

#include <algorithm>

#include "fsh/fsh_layout.h"
#include "fsh/palette_codec.h"
#include "fsh/pixel_formats.h"

namespace fsh {

namespace {

bool isDecodablePalette(const Block& block) { return paletteColourSize(block.type()) > 0; }

Expected<QList<QRgb>, Error> decodePaletteBlock(const FshFile& file, const Block& block) {
  auto data = blockData(file, block);
  if (!data) return Unexpected(std::move(data).error());
  // Indices are 8-bit: colours past 256 can never be shown.
  const int count = std::min(block.width, 256);
  const qsizetype needed = qsizetype(count) * paletteColourSize(block.type());
  if (data->bytes.size() < needed) {
    return Unexpected(makeError(ErrorKind::Malformed,
                                QStringLiteral("palette %1: %2 colours need %3 bytes, the block "
                                               "has %4")
                                    .arg(blockContext(block))
                                    .arg(count)
                                    .arg(needed)
                                    .arg(data->bytes.size())));
  }
  return decodePalette(block.type(), reinterpret_cast<const uchar*>(data->bytes.constData()),
                       count);
}

}  // namespace

Expected<QList<QRgb>, Error> paletteFor(const FshFile& file, int entryIndex) {
  const QList<Block>& own = file.entries[entryIndex].blocks;
  const auto attached = std::find_if(own.cbegin() + 1, own.cend(), isDecodablePalette);
  if (attached != own.cend()) return decodePaletteBlock(file, *attached);
  const Entry* shared = nullptr;
  for (const Entry& entry : file.entries) {
    if (!isDecodablePalette(entry.blocks.first())) continue;
    if (entry.name == Layout::SharedPaletteName) {
      shared = &entry;
      break;
    }
    if (!shared) shared = &entry;
  }
  if (shared) return decodePaletteBlock(file, shared->blocks.first());
  return QList<QRgb>();
}

namespace {

// The checks the block's header alone decides: a code the codec reads, a size
// it accepts, and a level the bitmap has.
Expected<void, Error> checkLevelHeader(const Block& block, int level) {
  const uint8_t type = block.type();
  if (!isBitmapCode(type)) {
    return Unexpected(makeError(
        ErrorKind::Unsupported,
        QStringLiteral("%1: unsupported pixel format %2").arg(blockContext(block), hexCode(type))));
  }
  if (auto size = checkBitmapSize(block); !size) return Unexpected(size.error());
  const int mipmaps = block.mipmapCount();
  if (level < 0 || level > mipmaps) {
    return Unexpected(makeError(ErrorKind::InvalidRequest,
                                QStringLiteral("%1: there is no level %2, the bitmap has %3 "
                                               "mipmaps")
                                    .arg(blockContext(block))
                                    .arg(level)
                                    .arg(mipmaps)));
  }
  return {};
}

// The level must lie inside the pixel data.
Expected<void, Error> checkLevelInside(const Block& block, int level, const LevelPlacement& place,
                                       qsizetype available) {
  if (place.offset + place.size <= available) return {};
  return Unexpected(makeError(ErrorKind::Malformed,
                              QStringLiteral("%1: level %2 of %3x%4 %5 needs %6 bytes from %7 "
                                             "of the pixel data, which has %8")
                                  .arg(blockContext(block))
                                  .arg(level)
                                  .arg(place.width)
                                  .arg(place.height)
                                  .arg(formatName(block.type()))
                                  .arg(place.size)
                                  .arg(place.offset)
                                  .arg(available)));
}

}  // namespace

Expected<LevelSource, Error> findLevel(const FshFile& file, int entryIndex, int level) {
  const Block& block = file.entries[entryIndex].blocks.first();
  if (auto header = checkLevelHeader(block, level); !header) return Unexpected(header.error());
  const uint8_t type = block.type();
  const int mipmaps = block.mipmapCount();
  auto data = blockData(file, block);
  if (!data) return Unexpected(std::move(data).error());
  const MipmapLayout layout =
      detectMipmapLayout(type, block.width, block.height, mipmaps, data->bytes);
  const LevelPlacement place = placeLevels(type, block.width, block.height, mipmaps, layout)[level];
  if (auto inside = checkLevelInside(block, level, place, data->bytes.size()); !inside)
    return Unexpected(inside.error());
  QList<QRgb> palette;
  if (type == Code::Indexed8) {
    auto found = paletteFor(file, entryIndex);
    if (!found) return Unexpected(std::move(found).error());
    palette = std::move(*found);
  }
  return LevelSource{type, std::move(*data), place, std::move(palette)};
}

Expected<int, Error> mainBitmap(const FshFile& file) {
  const std::optional<int> entry = mainBitmapEntry(file);
  if (!entry) {
    return Unexpected(makeError(ErrorKind::Malformed, QStringLiteral("the file holds no bitmap")));
  }
  return *entry;
}

Expected<void, Error> checkBitmapDecodes(const FshFile& file, int entryIndex, int level) {
  auto source = findLevel(file, entryIndex, level);
  if (!source) return Unexpected(std::move(source).error());
  return {};
}

std::optional<Expected<void, Error>> checkBitmapDecodesFromHeader(const Block& block) {
  if (auto header = checkLevelHeader(block, 0); !header) return header;
  // Compressed data must be unpacked and a palette read to tell.
  if (block.isCompressed() || block.type() == Code::Indexed8) return std::nullopt;
  // The bitmap itself comes first in both layouts of the mipmap levels.
  const LevelPlacement place{0, levelSize(block.type(), block.width, block.height), block.width,
                             block.height};
  return checkLevelInside(block, 0, place, block.dataSize());
}

Expected<void, Error> checkMainBitmapDecodes(const FshFile& file, int level) {
  const auto entry = mainBitmap(file);
  if (!entry) return Unexpected(entry.error());
  return checkBitmapDecodes(file, *entry, level);
}

}  // namespace fsh
