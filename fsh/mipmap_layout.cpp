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

MipmapLayout detectMipmapLayout(uint8_t type, int width, int height, int mipmapCount,
                                qsizetype available) {
  const qsizetype padded =
      pixelDataEnd(placeLevels(type, width, height, mipmapCount, MipmapLayout::Padded));
  const qsizetype packed =
      pixelDataEnd(placeLevels(type, width, height, mipmapCount, MipmapLayout::Packed));
  if (padded == packed || packed > available) return MipmapLayout::Padded;
  if (padded > available) return MipmapLayout::Packed;
  // Both fit: the bytes left after each one's final padding tell them apart.
  const qsizetype paddedSlack = available - std::min(available, alignUp(padded, Layout::DataAlignment));
  const qsizetype packedSlack = available - std::min(available, alignUp(packed, Layout::DataAlignment));
  return packedSlack < paddedSlack ? MipmapLayout::Packed : MipmapLayout::Padded;
}

}  // namespace fsh
