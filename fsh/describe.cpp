#include "fsh/describe.h"

#include "fsh/pixel_formats.h"

namespace fsh {

Expected<BitmapDescription, Error> describe(const FshFile& file) {
  const std::optional<int> index = mainBitmapEntry(file);
  if (!index) {
    return Unexpected(makeError(ErrorKind::Malformed, QStringLiteral("the file holds no bitmap")));
  }
  const Entry& entry = file.entries[*index];
  const Block& block = entry.blocks.first();
  BitmapDescription description;
  description.entryIndex = *index;
  description.entryName = entry.name;
  description.width = block.width;
  description.height = block.height;
  description.code = block.type();
  description.formatName = formatName(block.type());
  description.supported = isBitmapCode(block.type());
  description.mipmapCount = block.mipmapCount();
  description.blockCompressed = block.isCompressed();
  description.fileCompressed = file.compressedAsWhole;
  return description;
}

}  // namespace fsh
