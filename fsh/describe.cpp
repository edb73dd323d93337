#include "fsh/describe.h"

#include "fsh/bitmap_check.h"
#include "fsh/fsh_structure.h"
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

std::optional<Expected<BitmapDescription, Error>> describeFromStart(QByteArrayView start,
                                                                    qsizetype length) {
  const auto file = parseFshStructure(start, length);
  if (!file) return std::nullopt;
  if (!*file) return Unexpected(file->error());
  auto description = describe(**file);
  if (!description) return description;
  const Block& block = (*file)->entries[description->entryIndex].blocks.first();
  const auto decodes = checkBitmapDecodesFromHeader(block);
  if (!decodes) return std::nullopt;
  if (!*decodes) return Unexpected(decodes->error());
  return description;
}

}  // namespace fsh
