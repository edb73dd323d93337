#include "fsh/bitmap_decoder.h"

#include <algorithm>

#include "fsh/block_data.h"
#include "fsh/fsh_layout.h"
#include "fsh/level_codec.h"
#include "fsh/mipmap_layout.h"
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

Expected<QImage, Error> decodeBitmap(const FshFile& file, int entryIndex, int level) {
  const Block& block = file.entries[entryIndex].blocks.first();
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
  auto data = blockData(file, block);
  if (!data) return Unexpected(std::move(data).error());
  const qsizetype available = data->bytes.size();
  const MipmapLayout layout =
      detectMipmapLayout(type, block.width, block.height, mipmaps, data->bytes);
  const LevelPlacement place = placeLevels(type, block.width, block.height, mipmaps, layout)[level];
  if (place.offset + place.size > available) {
    return Unexpected(makeError(ErrorKind::Malformed,
                                QStringLiteral("%1: level %2 of %3x%4 %5 needs %6 bytes from %7 "
                                               "of the pixel data, which has %8")
                                    .arg(blockContext(block))
                                    .arg(level)
                                    .arg(place.width)
                                    .arg(place.height)
                                    .arg(formatName(type))
                                    .arg(place.size)
                                    .arg(place.offset)
                                    .arg(available)));
  }
  QList<QRgb> palette;
  if (type == Code::Indexed8) {
    auto found = paletteFor(file, entryIndex);
    if (!found) return Unexpected(std::move(found).error());
    palette = std::move(*found);
  }
  QImage image(place.width, place.height, QImage::Format_ARGB32);
  if (image.isNull()) {
    return Unexpected(
        makeError(ErrorKind::TooLarge, QStringLiteral("%1: no memory for a %2x%3 picture")
                                           .arg(blockContext(block))
                                           .arg(place.width)
                                           .arg(place.height)));
  }
  decodeLevel(type, reinterpret_cast<const uchar*>(data->bytes.constData()) + place.offset, palette,
              image);
  return image;
}

Expected<QImage, Error> decodeMainBitmap(const FshFile& file, int level) {
  const std::optional<int> entry = mainBitmapEntry(file);
  if (!entry) {
    return Unexpected(makeError(ErrorKind::Malformed, QStringLiteral("the file holds no bitmap")));
  }
  return decodeBitmap(file, *entry, level);
}

}  // namespace fsh
