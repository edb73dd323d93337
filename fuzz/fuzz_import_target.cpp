// importPortrait over arbitrary archive bytes and an arbitrary image file, and
// importPortraitBytes with the same image, which must answer alike. The image
// file is only read. A refused or failed import leaves every file as it was.
// An import that succeeds was of an image with the FSH signature into an
// archive that passed the size check; it leaves one that still passes it,
// holds the image at member 4's offset with everything else in place (an image
// of another length, or in place of a portrait whose own length is damaged,
// only as the last member, with the archive's size and entry 4's size
// following it), exports that image, and loads again with the same kind and
// identifier if it loaded before.
#include <QFile>
#include <array>
#include <cstddef>
#include <cstdint>

#include "archive/archive_inspection.h"
#include "archive/portrait_image.h"
#include "fuzz_files.h"
#include "fuzz_inputs.h"
#include "support/archive_fixture.h"

namespace {

constexpr int64_t DirectoryEnd = 98;
constexpr std::array<int64_t, 4> EntryOffsets{16, 36, 58, 78};

bool passesSizeCheck(const QByteArray& archive) {
  const RawWord size = littleEndianAt(archive, 4);
  return size.inside && size.value == archive.size();
}

// Whether any entry of the archive's directory points past imageOffset.
bool memberAfter(const QByteArray& archive, int64_t imageOffset) {
  for (const int64_t entry : EntryOffsets)
    if (bigEndianAt(archive, entry).value > imageOffset) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder;
  folder.clear();
  const ImportInput input = ImportInput::parse(data, size);
  const QString archivePath = folder.write("archive.big", input.archive);
  const QString imagePath = folder.write("import.fsh", input.image);
  const auto before = folder.snapshot();

  // From memory first, on a copy: both ways must agree on the outcome and the bytes.
  const QString copyPath = folder.write("copy.big", input.archive);
  const auto fromBytes = archive::importPortraitBytes(copyPath, input.image);
  const QByteArray copyResult = readFile(copyPath);
  QFile::remove(copyPath);
  const auto loadedBefore = archive::inspectArchive(archivePath);
  const auto imported = archive::importPortrait(archivePath, imagePath);

  FUZZ_CHECK(readFile(imagePath) == input.image);
  FUZZ_CHECK(bool(fromBytes) == bool(imported));
  if (!imported) {
    FUZZ_CHECK(fromBytes.error().kind == imported.error().kind);
    FUZZ_CHECK(copyResult == input.archive);
    FUZZ_CHECK(folder.snapshot() == before);
    return 0;
  }

  const QByteArray& old = input.archive;
  const QByteArray result = readFile(archivePath);
  FUZZ_CHECK(copyResult == result);
  FUZZ_CHECK(passesSizeCheck(old));
  FUZZ_CHECK(passesSizeCheck(result));
  FUZZ_CHECK(input.image.startsWith("SHPI"));

  // Member 4 lies after the directory and starts inside the archive; its old
  // image lies inside it too, or is replaced with everything after it.
  const RawWord offset = bigEndianAt(old, 78);
  FUZZ_CHECK(offset.inside && offset.value >= DirectoryEnd && offset.value <= old.size());
  const RawWord oldLength = littleEndianAt(old, offset.value + 4);
  const bool intact =
      oldLength.inside && oldLength.value >= 8 && offset.value + oldLength.value <= old.size();
  const int64_t replaced = intact ? oldLength.value : old.size() - offset.value;

  const int64_t newLength = input.image.size();
  const bool resized = newLength != replaced;
  if (resized || !intact) FUZZ_CHECK(!memberAfter(old, offset.value));
  FUZZ_CHECK(result.size() == old.size() - replaced + newLength);
  FUZZ_CHECK(result.mid(offset.value, newLength) == input.image);
  FUZZ_CHECK(result.mid(offset.value + newLength) == old.mid(offset.value + replaced));
  QByteArray expectedStart = old.left(offset.value);
  expectedStart.replace(4, 4, result.mid(4, 4));
  if (resized) {
    FUZZ_CHECK(bigEndianAt(result, 82).value == newLength);
    expectedStart.replace(82, 4, result.mid(82, 4));
  }
  FUZZ_CHECK(result.left(offset.value) == expectedStart);

  if (loadedBefore) {
    const auto loadedAfter = archive::inspectArchive(archivePath);
    FUZZ_CHECK(loadedAfter);
    FUZZ_CHECK(loadedAfter->kind == loadedBefore->kind);
    FUZZ_CHECK(loadedAfter->identifier == loadedBefore->identifier);
  }

  FUZZ_CHECK(archive::exportPortrait(archivePath, folder.path("exported.fsh")));
  FUZZ_CHECK(readFile(folder.path("exported.fsh")) == input.image);

  auto after = folder.snapshot();
  FUZZ_CHECK(after.keys() == QStringList({"archive.big", "exported.fsh", "import.fsh"}));
  return 0;
}
