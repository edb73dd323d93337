// inspectArchive over arbitrary archive bytes: it never crashes and never
// writes; it either tells of an archive whose identifier is 7 bytes, whose size
// is the file's and whose last identifier copy lies inside it, or names the
// kind of fault.
#include <cstddef>
#include <cstdint>

#include "archive/archive_inspection.h"
#include "fuzz_files.h"
#include "support/archive_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString path = folder.write("archive.big", bytes);

  const auto info = archive::inspectArchive(path);

  FUZZ_CHECK(readFile(path) == bytes);
  if (!info) {
    FUZZ_CHECK(!info.error().isRuntimeFailure() ||
               info.error().kind == archive::ArchiveError::Kind::SystemError);
    return 0;
  }
  FUZZ_CHECK(size >= 98);
  FUZZ_CHECK(info->archiveSize == static_cast<int64_t>(size));
  FUZZ_CHECK(info->identifier.size() == 7);
  FUZZ_CHECK(info->lastIdentifierCopy >= 0 &&
             info->lastIdentifierCopy + 7 <= static_cast<int64_t>(size));
  FUZZ_CHECK(bytes.mid(info->lastIdentifierCopy, 7) == info->identifier);
  if (info->portrait.ownLength)
    FUZZ_CHECK(info->portrait.offset >= 0 &&
               int64_t{info->portrait.offset} + 8 <= static_cast<int64_t>(size));
  return 0;
}
