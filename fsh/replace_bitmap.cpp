#include "fsh/replace_bitmap.h"

#include <algorithm>
#include <cstring>

#include "fsh/block_data.h"
#include "fsh/byte_access.h"
#include "fsh/fsh_layout.h"
#include "fsh/mipmap_layout.h"
#include "fsh/palette_codec.h"
#include "fsh/pixel_encoder.h"
#include "fsh/pixel_formats.h"
#include "fsh/refpack.h"

namespace fsh {

namespace {

// One block of the rebuilt entry.
struct Piece {
  QByteArray bytes;                  // header, data, and the bytes kept after the data
  std::optional<uint32_t> distance;  // the stored next distance, when the block is unchanged
  bool lastMarkedByZero = false;     // for a new last block: write 0 rather than its size
};

Error invalid(const QString& message) { return makeError(ErrorKind::InvalidRequest, message); }

QByteArray pad(QByteArray bytes) {
  bytes.resize(alignUp(bytes.size(), Layout::DataAlignment), '\0');
  return bytes;
}

// Where the block's data ends in the file, padding included: the bytes from
// there to the next block are kept after the new data.
qsizetype dataEnd(const Block& block, qsizetype storedSize) {
  if (storedSize > block.dataSize()) return block.end;
  return std::min(block.end, block.dataOffset() + alignUp(storedSize, Layout::DataAlignment));
}

QByteArray header(const FshFile& file, const Block& block) {
  return file.bytes.mid(block.offset, Layout::BlockHeaderSize);
}

Expected<QByteArray, Error> storedData(const QByteArray& data, bool compressed) {
  if (!compressed) return pad(data);
  auto packed = refpackCompress(data);
  if (!packed) return Unexpected(std::move(packed).error());
  return pad(std::move(*packed));
}

Expected<int, Error> chooseMipmapCount(const Block& block, const ReplaceOptions& options) {
  const int count = options.mipmapCount.value_or(block.mipmapCount());
  if (count == block.mipmapCount()) return count;
  const QString context = blockContext(block);
  if (count < 0 || count > Layout::MaxMipmaps) {
    return Unexpected(invalid(QStringLiteral("%1: %2 mipmaps asked, the count must be 0 to %3")
                                  .arg(context)
                                  .arg(count)
                                  .arg(Layout::MaxMipmaps)));
  }
  if (count == 0) return count;
  if (block.isCompressed()) {
    return Unexpected(
        invalid(QStringLiteral("%1: a compressed bitmap cannot have mipmaps").arg(context)));
  }
  if (const unsigned y = block.yWord & Layout::PositionMask; y != 0) {
    return Unexpected(
        invalid(QStringLiteral("%1: mipmaps need the y position 0, the bitmap's is %2")
                    .arg(context)
                    .arg(y)));
  }
  const int unit = 1 << count;
  if (block.width % unit != 0 || block.height % unit != 0) {
    return Unexpected(invalid(QStringLiteral("%1: %2 mipmaps need both sides divisible by %3, the "
                                             "bitmap is %4x%5")
                                  .arg(context)
                                  .arg(count)
                                  .arg(unit)
                                  .arg(block.width)
                                  .arg(block.height)));
  }
  return count;
}

struct OldPixels {
  qsizetype end = 0;  // in the file
  MipmapLayout layout = MipmapLayout::Padded;
  qsizetype total = -1;  // bytes of all levels, when known and present
};

OldPixels oldPixels(const FshFile& file, const Block& block) {
  OldPixels old{block.end};
  const auto data = blockData(file, block);
  if (!data) return old;  // damaged compressed data: all of it goes
  if (block.isCompressed()) old.end = dataEnd(block, data->storedSize);
  if (!isBitmapCode(block.type())) return old;
  const int count = block.mipmapCount();
  old.layout = detectMipmapLayout(block.type(), block.width, block.height, count, data->bytes);
  const qsizetype total =
      pixelDataEnd(placeLevels(block.type(), block.width, block.height, count, old.layout));
  if (total > data->bytes.size()) return old;
  old.total = total;
  if (!block.isCompressed()) old.end = dataEnd(block, total);
  return old;
}

// The bitmap block with its new header and data, then the bytes it kept after its data.
Expected<Piece, Error> bitmapPiece(const FshFile& file, const Block& block, uint8_t type, int count,
                                   const EncodedPixels& encoded, const OldPixels& old,
                                   MipmapLayout layout) {
  QByteArray bytes = header(file, block);
  bytes[0] = char(type | (block.code & Layout::CompressedFlag));
  const uint16_t yWord =
      count == block.mipmapCount()
          ? block.yWord
          : uint16_t(count << Layout::MipmapShift | (block.yWord & Layout::PositionMask));
  writeU16(bytes.data() + Layout::BlockYWordOffset, yWord);

  const QList<LevelPlacement> levels = placeLevels(type, block.width, block.height, count, layout);
  const bool sameShape = !block.isCompressed() && type == block.type() &&
                         count == block.mipmapCount() && old.total >= 0;
  if (sameShape) {
    // Level for level over the old pixels, so that the bytes between levels stay.
    QByteArray data = file.bytes.mid(block.dataOffset(), old.end - block.dataOffset());
    for (const LevelPlacement& level : levels) {
      std::memcpy(data.data() + level.offset, encoded.data.constData() + level.offset,
                  size_t(level.size));
    }
    bytes += data;
  } else {
    auto data = storedData(encoded.data.left(pixelDataEnd(levels)), block.isCompressed());
    if (!data) return Unexpected(withContext(std::move(data).error(), blockContext(block)));
    bytes += *data;
  }
  bytes += file.bytes.mid(old.end, block.end - old.end);
  return Piece{bytes, std::nullopt, block.nextDistance == 0};
}

// The bitmap's own palette attachment, rewritten in its own code.
Expected<Piece, Error> paletteRewritten(const FshFile& file, const Block& block,
                                        const QList<QRgb>& palette) {
  const auto old = blockData(file, block);
  qsizetype end = block.end;
  if (old) {
    end = block.isCompressed()
              ? dataEnd(block, old->storedSize)
              : dataEnd(block, qsizetype(block.width) * paletteColourSize(block.type()));
  }
  QByteArray bytes = header(file, block);
  writeU16(bytes.data() + Layout::BlockWidthOffset, uint16_t(palette.size()));
  auto data = storedData(encodePalette(block.type(), palette), block.isCompressed());
  if (!data) return Unexpected(withContext(std::move(data).error(), blockContext(block)));
  bytes += *data;
  bytes += file.bytes.mid(end, block.end - end);
  return Piece{bytes, std::nullopt, block.nextDistance == 0};
}

// A 32-bit palette attachment for a bitmap that had none of its own.
Piece paletteAdded(const QList<QRgb>& palette, bool lastMarkedByZero) {
  QByteArray bytes(Layout::BlockHeaderSize, '\0');
  bytes[0] = char(Code::PaletteArgb8888);
  writeU16(bytes.data() + Layout::BlockWidthOffset, uint16_t(palette.size()));
  writeU16(bytes.data() + Layout::BlockHeightOffset, 1);
  bytes += pad(encodePalette(Code::PaletteArgb8888, palette));
  return Piece{bytes, std::nullopt, lastMarkedByZero};
}

Expected<QByteArray, Error> joinPieces(QList<Piece>& pieces) {
  QByteArray entry;
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    Piece& piece = pieces[i];
    const bool last = i + 1 == pieces.size();
    uint32_t distance = 0;
    if (piece.distance && (last || *piece.distance == piece.bytes.size())) {
      distance = *piece.distance;
    } else if (!last || !piece.lastMarkedByZero) {
      if (piece.bytes.size() > qsizetype(Layout::MaxBlockDistance)) {
        return Unexpected(makeError(ErrorKind::TooLarge,
                                    QStringLiteral("a block of %1 bytes is larger than the %2 a "
                                                   "block chain can reach")
                                        .arg(piece.bytes.size())
                                        .arg(Layout::MaxBlockDistance)));
      }
      distance = uint32_t(piece.bytes.size());
    }
    writeU24(piece.bytes.data() + 1, distance);
    entry += piece.bytes;
  }
  return entry;
}

}  // namespace

Expected<QByteArray, Error> replaceBitmap(const FshFile& file, int entryIndex,
                                          const QImage& picture, const ReplaceOptions& options) {
  const Entry& entry = file.entries[entryIndex];
  const Block& bitmap = entry.blocks.first();
  const QString context = blockContext(bitmap);
  if (isPaletteCode(bitmap.type())) {
    return Unexpected(invalid(QStringLiteral("%1: entry \"%2\" holds a palette, not a bitmap")
                                  .arg(context, printableName(entry.name))));
  }
  if (auto size = checkBitmapSize(bitmap); !size) return Unexpected(size.error());
  if (picture.width() != bitmap.width || picture.height() != bitmap.height) {
    return Unexpected(invalid(QStringLiteral("the picture is %1x%2, the bitmap at %3 is %4x%5")
                                  .arg(picture.width())
                                  .arg(picture.height())
                                  .arg(hexOffset(bitmap.offset))
                                  .arg(bitmap.width)
                                  .arg(bitmap.height)));
  }
  const uint8_t type = options.code.value_or(bitmap.type());
  if (!isBitmapCode(type)) {
    return Unexpected(
        makeError(ErrorKind::Unsupported,
                  QStringLiteral("%1: unsupported pixel format %2").arg(context, hexCode(type))));
  }
  const auto count = chooseMipmapCount(bitmap, options);
  if (!count) return Unexpected(count.error());

  const OldPixels old = oldPixels(file, bitmap);
  // A layout seen in this block is kept; otherwise levels are padded to 16 bytes.
  const MipmapLayout layout = bitmap.mipmapCount() > 0 ? old.layout : MipmapLayout::Padded;
  const auto ownPalette =
      std::find_if(entry.blocks.cbegin() + 1, entry.blocks.cend(),
                   [](const Block& b) { return paletteColourSize(b.type()) > 0; });
  const bool hasOwnPalette = ownPalette != entry.blocks.cend();
  const uint8_t paletteType = hasOwnPalette ? ownPalette->type() : Code::PaletteArgb8888;
  const std::optional<EncodedPixels> encoded =
      encodePixels(picture, type, *count, layout, paletteType, options.encodeLevel);
  if (!encoded) {
    return Unexpected(makeError(ErrorKind::Stopped, QStringLiteral("the encode was stopped")));
  }

  QList<Piece> pieces;
  auto first = bitmapPiece(file, bitmap, type, *count, *encoded, old, layout);
  if (!first) return Unexpected(std::move(first).error());
  pieces.append(std::move(*first));
  if (type == Code::Indexed8 && !hasOwnPalette) {
    pieces.append(paletteAdded(encoded->palette, pieces.first().lastMarkedByZero));
  }
  for (auto block = entry.blocks.cbegin() + 1; block != entry.blocks.cend(); ++block) {
    if (type == Code::Indexed8 && block == ownPalette) {
      auto rewritten = paletteRewritten(file, *block, encoded->palette);
      if (!rewritten) return Unexpected(std::move(rewritten).error());
      pieces.append(std::move(*rewritten));
    } else {
      pieces.append(Piece{file.bytes.mid(block->offset, block->end - block->offset),
                          block->nextDistance, false});
    }
  }
  const auto newEntry = joinPieces(pieces);
  if (!newEntry) return Unexpected(newEntry.error());

  const qsizetype oldLength = entry.end - entry.offset;
  const qsizetype delta = newEntry->size() - oldLength;
  const qsizetype newSize = file.bytes.size() + delta;
  if (newSize > Layout::MaxFileSize) {
    return Unexpected(makeError(ErrorKind::TooLarge,
                                QStringLiteral("the new file would have %1 bytes, more than the "
                                               "limit of %2")
                                    .arg(newSize)
                                    .arg(Layout::MaxFileSize)));
  }
  QByteArray out;
  out.reserve(newSize);
  out += QByteArrayView(file.bytes).first(entry.offset);
  out += *newEntry;
  out += QByteArrayView(file.bytes).sliced(entry.end);

  for (qsizetype i = 0; i < file.entries.size(); ++i) {
    const qsizetype at =
        Layout::HeaderSize + i * Layout::DirectoryEntrySize + Layout::EntryNameSize;
    const qsizetype offset = file.entries[i].offset;
    if (offset > entry.offset) writeU32(out.data() + at, uint32_t(offset + delta));
  }
  writeU32(out.data() + Layout::LengthOffset, uint32_t(out.size()));
  return out;
}

Expected<QByteArray, Error> replaceMainBitmap(const FshFile& file, const QImage& picture,
                                              const ReplaceOptions& options) {
  const std::optional<int> entry = mainBitmapEntry(file);
  if (!entry) {
    return Unexpected(makeError(ErrorKind::Malformed, QStringLiteral("the file holds no bitmap")));
  }
  return replaceBitmap(file, *entry, picture, options);
}

}  // namespace fsh
