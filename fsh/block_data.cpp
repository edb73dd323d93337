#include "fsh/block_data.h"

#include "fsh/fsh_layout.h"
#include "fsh/refpack.h"

namespace fsh {

QString blockContext(const Block& block) {
  return QStringLiteral("block at ") + hexOffset(block.offset);
}

Expected<BlockData, Error> blockData(const FshFile& file, const Block& block) {
  const QByteArrayView stored(file.bytes.constData() + block.dataOffset(), block.dataSize());
  if (!block.isCompressed()) {
    return BlockData{QByteArray::fromRawData(stored.data(), stored.size()), stored.size()};
  }
  auto plain = refpackDecompress(stored);
  if (!plain) return Unexpected(withContext(std::move(plain).error(), blockContext(block)));
  return BlockData{std::move(plain->bytes), plain->consumed};
}

Expected<void, Error> checkBitmapSize(const Block& block) {
  for (const auto& [side, value] : {std::pair{"width", block.width}, {"height", block.height}}) {
    if (value > Layout::MaxDimension) {
      return Unexpected(makeError(ErrorKind::TooLarge, QStringLiteral("%1: %2 %3 is larger than %4")
                                                           .arg(blockContext(block))
                                                           .arg(QLatin1String(side))
                                                           .arg(value)
                                                           .arg(Layout::MaxDimension)));
    }
    if (value == 0) {
      return Unexpected(
          makeError(ErrorKind::Malformed, QStringLiteral("%1: %2 0 leaves no picture")
                                              .arg(blockContext(block), QLatin1String(side))));
    }
  }
  return {};
}

}  // namespace fsh
