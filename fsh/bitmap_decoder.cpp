#include "fsh/bitmap_decoder.h"

#include "fsh/block_data.h"
#include "fsh/level_codec.h"

namespace fsh {

Expected<QImage, Error> decodeBitmap(const FshFile& file, int entryIndex, int level) {
  auto source = findLevel(file, entryIndex, level);
  if (!source) return Unexpected(std::move(source).error());
  const LevelPlacement& place = source->place;
  QImage image(place.width, place.height, QImage::Format_ARGB32);
  if (image.isNull()) {
    return Unexpected(makeError(ErrorKind::TooLarge,
                                QStringLiteral("%1: no memory for a %2x%3 picture")
                                    .arg(blockContext(file.entries[entryIndex].blocks.first()))
                                    .arg(place.width)
                                    .arg(place.height)));
  }
  decodeLevel(source->type,
              reinterpret_cast<const uchar*>(source->data.bytes.constData()) + place.offset,
              source->palette, image);
  return image;
}

Expected<QImage, Error> decodeMainBitmap(const FshFile& file, int level) {
  const auto entry = mainBitmap(file);
  if (!entry) return Unexpected(entry.error());
  return decodeBitmap(file, *entry, level);
}

}  // namespace fsh
