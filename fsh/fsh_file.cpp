#include "fsh/fsh_file.h"

#include <algorithm>

#include "fsh/byte_access.h"
#include "fsh/fsh_layout.h"
#include "fsh/fsh_structure.h"
#include "fsh/pixel_formats.h"
#include "fsh/refpack.h"

namespace fsh {

uint8_t Block::type() const { return code & Layout::TypeMask; }

bool Block::isCompressed() const { return code & Layout::CompressedFlag; }

qsizetype Block::dataOffset() const { return offset + Layout::BlockHeaderSize; }

int Block::mipmapCount() const {
  const int count = yWord >> Layout::MipmapShift;
  if (count == 0 || (yWord & Layout::PositionMask) != 0 || isCompressed()) return 0;
  const int unit = 1 << count;
  if (width % unit != 0 || height % unit != 0) return 0;
  return count;
}

QString printableName(const QByteArray& name) {
  QString text;
  for (const char c : name) text += (c >= 0x20 && c < 0x7F) ? QChar::fromLatin1(c) : QChar(u'?');
  return text;
}

namespace {

bool startsWithMagic(QByteArrayView bytes) {
  return bytes.size() >= Layout::MagicSize &&
         bytes.first(Layout::MagicSize) == QByteArrayView(Layout::Magic, Layout::MagicSize);
}

Error malformed(const QString& message) { return makeError(ErrorKind::Malformed, message); }

// The structure of a plain image of `size` bytes read from `visible`, its
// first bytes: nothing when a header the structure needs lies beyond them.
using Parsed = std::optional<Expected<FshFile, Error>>;
template <typename T>
using Step = std::optional<Expected<T, Error>>;

Step<QList<Block>> parseChain(QByteArrayView visible, const Entry& entry, int& blocksSoFar) {
  QList<Block> blocks;
  qsizetype position = entry.offset;
  while (true) {
    if (position + Layout::BlockHeaderSize > entry.end) {
      return Unexpected(malformed(
          QStringLiteral("block at %1: its header runs past the end of "
                         "entry \"%2\" at %3")
              .arg(hexOffset(position), printableName(entry.name), hexOffset(entry.end))));
    }
    if (++blocksSoFar > Layout::MaxBlocks) {
      return Unexpected(makeError(ErrorKind::TooLarge,
                                  QStringLiteral("block at %1: the file has more than %2 blocks")
                                      .arg(hexOffset(position))
                                      .arg(Layout::MaxBlocks)));
    }
    if (position + Layout::BlockHeaderSize > visible.size()) return std::nullopt;
    const char* header = visible.data() + position;
    Block block;
    block.offset = position;
    block.code = uint8_t(header[0]);
    block.nextDistance = readU24(header + 1);
    block.width = readU16(header + Layout::BlockWidthOffset);
    block.height = readU16(header + Layout::BlockHeightOffset);
    block.xWord = readU16(header + Layout::BlockXWordOffset);
    block.yWord = readU16(header + Layout::BlockYWordOffset);
    // Some writers store the last block's own size instead of 0: a distance
    // that reaches the entry's end also ends the chain.
    const bool last = block.nextDistance == 0 || position + block.nextDistance >= entry.end;
    if (!last && block.nextDistance < uint32_t(Layout::BlockHeaderSize)) {
      return Unexpected(malformed(QStringLiteral("block at %1: next block distance %2 is shorter "
                                                 "than a block header")
                                      .arg(hexOffset(position))
                                      .arg(block.nextDistance)));
    }
    block.end = last ? entry.end : position + block.nextDistance;
    blocks.append(block);
    if (last) return blocks;
    position = block.end;
  }
}

Parsed parseStructure(QByteArrayView visible, qsizetype size) {
  FshFile file;
  if (size < Layout::HeaderSize) {
    return Unexpected(malformed(QStringLiteral("the file has %1 bytes, fewer than the %2 of an "
                                               "FSH header")
                                    .arg(size)
                                    .arg(Layout::HeaderSize)));
  }
  if (visible.size() < Layout::HeaderSize) return std::nullopt;
  file.lengthField = readU32(visible.data() + Layout::LengthOffset);
  file.directoryId = visible.sliced(Layout::DirectoryIdOffset, 4).toByteArray();
  const uint32_t count = readU32(visible.data() + Layout::EntryCountOffset);
  if (count > uint32_t(Layout::MaxEntries)) {
    return Unexpected(makeError(ErrorKind::TooLarge,
                                QStringLiteral("header at %1: %2 entries are more than the limit "
                                               "of %3")
                                    .arg(hexOffset(Layout::EntryCountOffset))
                                    .arg(count)
                                    .arg(Layout::MaxEntries)));
  }
  const qsizetype directoryEnd = Layout::HeaderSize + qsizetype(count) * Layout::DirectoryEntrySize;
  if (directoryEnd > size) {
    return Unexpected(malformed(QStringLiteral("header at %1: a directory of %2 entries ends at "
                                               "%3, past the end of the file at %4")
                                    .arg(hexOffset(Layout::EntryCountOffset))
                                    .arg(count)
                                    .arg(hexOffset(directoryEnd), hexOffset(size))));
  }
  if (directoryEnd > visible.size()) return std::nullopt;

  QList<qsizetype> offsets;
  for (uint32_t i = 0; i < count; ++i) {
    const qsizetype at = Layout::HeaderSize + qsizetype(i) * Layout::DirectoryEntrySize;
    Entry entry;
    entry.name = visible.sliced(at, Layout::EntryNameSize).toByteArray();
    entry.offset = readU32(visible.data() + at + Layout::EntryNameSize);
    if (entry.offset < directoryEnd || entry.offset >= size) {
      return Unexpected(
          malformed(QStringLiteral("directory entry %1 (\"%2\") at %3: offset %4 "
                                   "lies outside the data, which runs from %5 to %6")
                        .arg(i)
                        .arg(printableName(entry.name), hexOffset(at), hexOffset(entry.offset),
                             hexOffset(directoryEnd), hexOffset(size))));
    }
    offsets.append(entry.offset);
    file.entries.append(entry);
  }

  std::sort(offsets.begin(), offsets.end());
  int blocks = 0;
  for (Entry& entry : file.entries) {
    const auto next = std::upper_bound(offsets.cbegin(), offsets.cend(), entry.offset);
    entry.end = next == offsets.cend() ? size : *next;
    auto chain = parseChain(visible, entry, blocks);
    if (!chain) return std::nullopt;
    if (!*chain) return Unexpected(std::move(*chain).error());
    entry.blocks = std::move(**chain);
  }
  return file;
}

Expected<FshFile, Error> parsePlain(QByteArray bytes, bool compressedAsWhole) {
  // All of the file is visible, so its structure is always decided.
  auto parsed = std::move(*parseStructure(bytes, bytes.size()));
  if (!parsed) return parsed;
  parsed->bytes = std::move(bytes);
  parsed->compressedAsWhole = compressedAsWhole;
  return parsed;
}

}  // namespace

bool looksLikeFsh(QByteArrayView bytes) {
  if (startsWithMagic(bytes)) return true;
  if (!findRefpackHeader(bytes)) return false;
  const auto start = refpackPeek(bytes, Layout::MagicSize);
  return start && startsWithMagic(*start);
}

Expected<FshFile, Error> parseFsh(const QByteArray& bytes) {
  if (bytes.size() > Layout::MaxFileSize) {
    return Unexpected(makeError(ErrorKind::TooLarge,
                                QStringLiteral("the file has %1 bytes, more than the limit of %2")
                                    .arg(bytes.size())
                                    .arg(Layout::MaxFileSize)));
  }
  if (startsWithMagic(bytes)) return parsePlain(bytes, false);
  if (!findRefpackHeader(bytes)) {
    return Unexpected(makeError(ErrorKind::NotFsh,
                                QStringLiteral("not an FSH image: it starts with neither SHPI nor "
                                               "a RefPack header")));
  }
  auto plain = refpackDecompress(bytes);
  if (!plain) return Unexpected(withContext(std::move(plain).error(), "compressed file"));
  if (!startsWithMagic(plain->bytes)) {
    return Unexpected(makeError(ErrorKind::NotFsh,
                                QStringLiteral("not an FSH image: its compressed data does not "
                                               "start with SHPI")));
  }
  return parsePlain(std::move(plain->bytes), true);
}

std::optional<Expected<FshFile, Error>> parseFshStructure(QByteArrayView start, qsizetype length) {
  if (length > Layout::MaxFileSize || !startsWithMagic(start)) return std::nullopt;
  return parseStructure(start.first(std::min(start.size(), length)), length);
}

std::optional<int> mainBitmapEntry(const FshFile& file) {
  for (int i = 0; i < file.entries.size(); ++i) {
    if (!isPaletteCode(file.entries[i].blocks.first().type())) return i;
  }
  return std::nullopt;
}

}  // namespace fsh
