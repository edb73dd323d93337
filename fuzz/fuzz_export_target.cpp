// exportPortrait and readPortrait over arbitrary archive bytes, into a new
// file, over an existing one or onto a folder. The archive is only read. A
// refused or failed export leaves every file as it was. An export that succeeds was from an archive
// that passed the size check, and writes exactly the bytes that member 4's image length word counts
// from member 4's offset.
#include <cstddef>
#include <cstdint>

#include "archive/portrait_image.h"
#include "fuzz_files.h"
#include "fuzz_inputs.h"
#include "support/archive_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder;
  folder.clear();
  const ExportInput input = ExportInput::parse(data, size);
  const QString archivePath = folder.write("archive.big", input.archive);
  QString target;
  switch (input.target) {
    case ExportTarget::NewFile:
      target = folder.path("exported.fsh");
      break;
    case ExportTarget::ExistingFile:
      target = folder.write("exported.fsh", input.oldTarget);
      break;
    case ExportTarget::Folder:
      target = folder.makeFolder("exported.fsh");
      break;
  }
  const auto before = folder.snapshot();

  const auto exported = archive::exportPortrait(archivePath, target);
  const auto read = archive::readPortrait(archivePath);

  FUZZ_CHECK(readFile(archivePath) == input.archive);
  if (!exported) {
    FUZZ_CHECK(folder.snapshot() == before);
    // Only the target can make an export fail where reading succeeds.
    if (read) FUZZ_CHECK(input.target == ExportTarget::Folder);
    return 0;
  }
  FUZZ_CHECK(input.target != ExportTarget::Folder);
  FUZZ_CHECK(read && *read == readFile(target));

  const QByteArray& archive = input.archive;
  const RawWord sizeField = littleEndianAt(archive, 4);
  FUZZ_CHECK(sizeField.inside && sizeField.value == archive.size());
  const RawWord offset = bigEndianAt(archive, 78);
  FUZZ_CHECK(offset.inside && offset.value >= 0);
  const RawWord length = littleEndianAt(archive, offset.value + 4);
  FUZZ_CHECK(length.inside && length.value > 0);
  FUZZ_CHECK(offset.value + length.value <= archive.size());
  FUZZ_CHECK(readFile(target) == archive.mid(offset.value, length.value));

  auto after = folder.snapshot();
  FUZZ_CHECK(after.keys() == QStringList({"archive.big", "exported.fsh"}));
  return 0;
}
