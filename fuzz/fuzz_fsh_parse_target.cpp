// The FSH parser and decoder over arbitrary bytes: they never read outside the
// input (it is used in place, so AddressSanitizer sees any read past its end),
// describing an image from its first bytes answers as reading all of it does,
// everything they report lies inside the file, every level decodes to its size
// or says why not, and a replace writes a file that reads back: exactly in
// ARGB8888 and in every code that stores what was decoded from it, with every
// other entry byte for byte as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fsh/bitmap_decoder.h"
#include "fsh/describe.h"
#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"
#include "fsh/pixel_formats.h"
#include "fsh/replace_bitmap.h"
#include "fuzz_files.h"

namespace {

void checkStructure(const fsh::FshFile& file) {
  const qsizetype size = file.bytes.size();
  for (const fsh::Entry& entry : file.entries) {
    FUZZ_CHECK(entry.offset < entry.end && entry.end <= size);
    FUZZ_CHECK(!entry.blocks.isEmpty() && entry.blocks.first().offset == entry.offset);
    qsizetype previousEnd = entry.offset;
    for (const fsh::Block& block : entry.blocks) {
      FUZZ_CHECK(block.offset == previousEnd);
      FUZZ_CHECK(block.dataOffset() <= block.end && block.end <= entry.end);
      previousEnd = block.end;
    }
    FUZZ_CHECK(previousEnd == entry.end);
  }
}

// Codes whose decoded pixels encode back to the same bytes.
bool storesWhatItShows(uint8_t type) {
  return type == fsh::Code::Argb8888 || type == fsh::Code::Rgb888 || type == fsh::Code::Rgb565 ||
         type == fsh::Code::Argb1555 || type == fsh::Code::Argb4444;
}

QImage opaque(QImage image) {
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) line[x] |= 0xFF000000u;
  }
  return image;
}

void checkReplace(const fsh::FshFile& file, int entryIndex, const QImage& picture,
                  std::optional<uint8_t> code) {
  fsh::ReplaceOptions options;
  options.code = code;
  const auto out = fsh::replaceBitmap(file, entryIndex, picture, options);
  if (!out) {
    FUZZ_CHECK(!out.error().message.isEmpty());
    return;
  }
  const auto again = fsh::parseFsh(*out);
  FUZZ_CHECK(again);
  FUZZ_CHECK(!again->compressedAsWhole && again->lengthField == uint32_t(out->size()));
  FUZZ_CHECK(again->entries.size() == file.entries.size());
  for (int e = 0; e < file.entries.size(); ++e) {
    const fsh::Entry& before = file.entries[e];
    const fsh::Entry& after = again->entries[e];
    FUZZ_CHECK(before.name == after.name);
    if (before.offset == file.entries[entryIndex].offset) continue;
    FUZZ_CHECK(QByteArrayView(file.bytes).sliced(before.offset, before.end - before.offset) ==
               QByteArrayView(*out).sliced(after.offset, after.end - after.offset));
  }
  const auto image = fsh::decodeBitmap(*again, entryIndex);
  FUZZ_CHECK(image);
  FUZZ_CHECK(image->size() == picture.size());
  const uint8_t type = again->entries[entryIndex].blocks.first().type();
  if (type == fsh::Code::Rgb888 || type == fsh::Code::Rgb565) {
    FUZZ_CHECK(*image == opaque(picture));
  } else if (storesWhatItShows(type)) {
    FUZZ_CHECK(*image == picture);
  }
}

// What parsing, describing and checking the whole image answer together.
Expected<fsh::BitmapDescription, QString> wholeAnswer(
    const Expected<fsh::FshFile, fsh::Error>& file) {
  if (!file) return Unexpected(file.error().message);
  const auto description = fsh::describe(*file);
  if (!description) return Unexpected(description.error().message);
  if (const auto decodes = fsh::checkMainBitmapDecodes(*file); !decodes)
    return Unexpected(decodes.error().message);
  return *description;
}

void checkDescribeFromStart(const QByteArray& bytes,
                            const Expected<fsh::FshFile, fsh::Error>& file) {
  const auto whole = wholeAnswer(file);
  for (qsizetype length :
       {qsizetype(0), qsizetype(16), qsizetype(100), bytes.size() / 2, bytes.size()}) {
    length = std::min(length, bytes.size());
    // A copy of exactly the start, so that a read past it is seen.
    const std::vector<char> start(bytes.begin(), bytes.begin() + length);
    const auto quick = fsh::describeFromStart(QByteArrayView(start.data(), length), bytes.size());
    if (!quick) continue;
    FUZZ_CHECK(quick->has_value() == whole.has_value());
    if (!whole) {
      FUZZ_CHECK(quick->error().message == whole.error());
      continue;
    }
    const fsh::BitmapDescription& a = **quick;
    const fsh::BitmapDescription& b = *whole;
    FUZZ_CHECK(a.entryIndex == b.entryIndex && a.entryName == b.entryName && a.width == b.width &&
               a.height == b.height && a.code == b.code && a.formatName == b.formatName &&
               a.supported == b.supported && a.mipmapCount == b.mipmapCount &&
               a.blockCompressed == b.blockCompressed && a.fileCompressed == b.fileCompressed);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const bool looksLikeFsh = fsh::looksLikeFsh(bytes);
  const auto file = fsh::parseFsh(bytes);
  checkDescribeFromStart(bytes, file);
  if (!file) {
    FUZZ_CHECK(!file.error().message.isEmpty());
    return 0;
  }
  FUZZ_CHECK(looksLikeFsh);
  checkStructure(*file);
  const auto description = fsh::describe(*file);
  FUZZ_CHECK(description.has_value() == fsh::mainBitmapEntry(*file).has_value());

  for (int e = 0; e < file->entries.size(); ++e) {
    const fsh::Block& block = file->entries[e].blocks.first();
    if (fsh::isPaletteCode(block.type())) continue;
    for (int level = 0; level <= block.mipmapCount(); ++level) {
      const auto image = fsh::decodeBitmap(*file, e, level);
      if (!image) {
        FUZZ_CHECK(!image.error().message.isEmpty());
        continue;
      }
      FUZZ_CHECK(image->format() == QImage::Format_ARGB32);
      FUZZ_CHECK(image->width() == std::max(1, block.width >> level));
      FUZZ_CHECK(image->height() == std::max(1, block.height >> level));
      // Re-encoding large pictures only slows the search down.
      if (level == 0 && qsizetype(image->width()) * image->height() <= 4096) {
        checkReplace(*file, e, *image, std::nullopt);
        checkReplace(*file, e, *image, fsh::Code::Argb8888);
      }
    }
  }
  return 0;
}
