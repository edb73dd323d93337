#include "fsh/pixel_encoder.h"

#include <algorithm>
#include <cstring>

#include "fsh/byte_access.h"
#include "fsh/level_codec.h"
#include "fsh/mipmap_chain.h"
#include "fsh/palette_builder.h"
#include "fsh/palette_codec.h"

namespace fsh {

namespace {

// Each level as Format_Indexed8 over one shared palette, in the colours the
// palette code stores, so that every index names the colour a reader will show.
QList<QImage> indexLevels(const QList<QImage>& levels, uint8_t paletteType, QList<QRgb>& palette) {
  palette = buildPalette(levels.first());
  for (QRgb& colour : palette) colour = paletteStoredColour(paletteType, colour);
  QList<QImage> indexed;
  for (const QImage& level : levels) indexed.append(indexedWithPalette(level, palette));
  return indexed;
}

}  // namespace

std::optional<QByteArray> encodeLevelAtBest(uint8_t type, int /*level*/, const QImage& picture) {
  return encodeLevel(type, picture);
}

std::optional<EncodedPixels> encodePixels(const QImage& picture, uint8_t type, int mipmapCount,
                                          MipmapLayout layout, uint8_t paletteType,
                                          const LevelEncoder& encodeLevel) {
  EncodedPixels encoded;
  QList<QImage> levels = mipmapChain(picture, mipmapCount);
  if (type == Code::Indexed8) levels = indexLevels(levels, paletteType, encoded.palette);

  const QList<LevelPlacement> places =
      placeLevels(type, picture.width(), picture.height(), mipmapCount, layout);
  encoded.data = QByteArray(alignUp(pixelDataEnd(places), Layout::DataAlignment), '\0');
  for (qsizetype i = 0; i < places.size(); ++i) {
    const std::optional<QByteArray> level = encodeLevel(type, int(i), levels[i]);
    if (!level) return std::nullopt;
    std::memcpy(encoded.data.data() + places[i].offset, level->constData(),
                size_t(std::min(level->size(), places[i].size)));
  }
  return encoded;
}

}  // namespace fsh
