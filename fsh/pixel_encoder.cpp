#include "fsh/pixel_encoder.h"

#include <cstring>

#include "fsh/byte_access.h"
#include "fsh/level_codec.h"
#include "fsh/mipmap_chain.h"
#include "fsh/palette_codec.h"

namespace fsh {

namespace {

// Each level as Format_Indexed8 over one shared palette, stored-precision colours.
QList<QImage> indexLevels(const QList<QImage>& levels, uint8_t paletteType,
                          QList<QRgb>& palette) {
  QImage first = levels.first().convertToFormat(QImage::Format_Indexed8);
  palette = first.colorTable();
  for (QRgb& colour : palette) colour = paletteStoredColour(paletteType, colour);
  first.setColorTable(palette);
  QList<QImage> indexed{first};
  for (qsizetype i = 1; i < levels.size(); ++i) {
    indexed.append(levels[i].convertToFormat(QImage::Format_Indexed8, palette));
  }
  return indexed;
}

}  // namespace

EncodedPixels encodePixels(const QImage& picture, uint8_t type, int mipmapCount,
                           MipmapLayout layout, uint8_t paletteType) {
  EncodedPixels encoded;
  QList<QImage> levels = mipmapChain(picture, mipmapCount);
  if (type == Code::Indexed8) levels = indexLevels(levels, paletteType, encoded.palette);

  const QList<LevelPlacement> places =
      placeLevels(type, picture.width(), picture.height(), mipmapCount, layout);
  encoded.data = QByteArray(alignUp(pixelDataEnd(places), Layout::DataAlignment), '\0');
  for (qsizetype i = 0; i < places.size(); ++i) {
    const QByteArray level = encodeLevel(type, levels[i]);
    std::memcpy(encoded.data.data() + places[i].offset, level.constData(), size_t(level.size()));
  }
  return encoded;
}

}  // namespace fsh
