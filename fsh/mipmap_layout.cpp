#include "fsh/mipmap_layout.h"

#include "fsh/byte_access.h"
#include "fsh/fsh_layout.h"
#include "fsh/pixel_formats.h"

namespace fsh {

QList<LevelPlacement> placeLevels(uint8_t type, int width, int height, int mipmapCount,
                                  MipmapLayout layout) {
  QList<LevelPlacement> levels;
  qsizetype offset = 0;
  for (int level = 0; level <= mipmapCount; ++level) {
    const int w = std::max(1, width >> level);
    const int h = std::max(1, height >> level);
    if (layout == MipmapLayout::Padded) offset = alignUp(offset, Layout::DataAlignment);
    const qsizetype size = levelSize(type, w, h);
    levels.append({offset, size, w, h});
    offset += size;
  }
  return levels;
}

qsizetype pixelDataEnd(const QList<LevelPlacement>& levels) {
  return levels.isEmpty() ? 0 : levels.last().offset + levels.last().size;
}

namespace {

bool gapsAreZero(const QList<LevelPlacement>& padded, QByteArrayView data) {
  for (qsizetype i = 1; i < padded.size(); ++i) {
    const qsizetype gapStart = padded[i - 1].offset + padded[i - 1].size;
    for (qsizetype at = gapStart; at < padded[i].offset; ++at) {
      if (data[at] != 0) return false;
    }
  }
  return true;
}

}  // namespace

MipmapLayout detectMipmapLayout(uint8_t type, int width, int height, int mipmapCount,
                                QByteArrayView data) {
  const QList<LevelPlacement> paddedLevels =
      placeLevels(type, width, height, mipmapCount, MipmapLayout::Padded);
  const qsizetype padded = pixelDataEnd(paddedLevels);
  const qsizetype packed =
      pixelDataEnd(placeLevels(type, width, height, mipmapCount, MipmapLayout::Packed));
  const qsizetype available = data.size();
  if (padded == packed || packed > available) return MipmapLayout::Padded;
  if (padded > available) return MipmapLayout::Packed;
  // Both fit: the bytes left after each one's final padding tell them apart.
  const qsizetype paddedSlack =
      available - std::min(available, alignUp(padded, Layout::DataAlignment));
  const qsizetype packedSlack =
      available - std::min(available, alignUp(packed, Layout::DataAlignment));
  if (packedSlack != paddedSlack) {
    return packedSlack < paddedSlack ? MipmapLayout::Packed : MipmapLayout::Padded;
  }
  return gapsAreZero(paddedLevels, data) ? MipmapLayout::Padded : MipmapLayout::Packed;
}

}  // namespace fsh
