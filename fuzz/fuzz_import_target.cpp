// ImportPortrait over arbitrary archive bytes and an arbitrary import file.
// The import file is only read, and nothing in the window changes. A refused or
// failed import shows one message and leaves every file as it was. An import
// that succeeds was into an archive that passed the size check; it leaves one
// that still passes it, holds the image at member 4's offset with everything
// else in place (an image of another length only as the last member, with the
// archive's size and entry 4's size following it), and exports that image.
#include <array>
#include <cstddef>
#include <cstdint>

#include "archive/portrait_image.h"
#include "fuzz_files.h"
#include "fuzz_inputs.h"
#include "support/archive_fixture.h"
#include "support/recording_window.h"

namespace {

constexpr int64_t DirectoryEnd = 98;
constexpr std::array<int64_t, 4> EntryOffsets{16, 36, 58, 78};

bool PassesSizeCheck(const QByteArray& archive) {
  const RawWord size = LittleEndianAt(archive, 4);
  return size.Inside && size.Value == archive.size();
}

// Whether any entry of the archive's directory points past imageOffset.
bool MemberAfter(const QByteArray& archive, int64_t imageOffset) {
  for (const int64_t entry : EntryOffsets)
    if (BigEndianAt(archive, entry).Value > imageOffset) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder;
  folder.Clear();
  const ImportInput input = ImportInput::Parse(data, size);
  RecordingWindow window;
  WindowState& state = window.State();
  state.ArchivePath = folder.Write("archive.big", input.Archive);
  state.ImportPath = folder.Write("import.fsh", input.Image);
  const auto before = folder.Snapshot();

  const bool imported = ImportPortrait(window);

  for (const QString& call : window.calls) FUZZ_CHECK(call.startsWith("message "));
  FUZZ_CHECK(ReadFile(state.ImportPath) == input.Image);
  if (!imported) {
    FUZZ_CHECK(window.messages.size() == 1);
    FUZZ_CHECK(folder.Snapshot() == before);
    return 0;
  }
  FUZZ_CHECK(window.messages.empty());

  const QByteArray& old = input.Archive;
  const QByteArray result = ReadFile(state.ArchivePath);
  FUZZ_CHECK(PassesSizeCheck(old));
  FUZZ_CHECK(PassesSizeCheck(result));

  // Member 4 lies after the directory, and its old image inside the archive.
  const RawWord offset = BigEndianAt(old, 78);
  FUZZ_CHECK(offset.Inside && offset.Value >= DirectoryEnd);
  const RawWord oldLength = LittleEndianAt(old, offset.Value + 4);
  FUZZ_CHECK(oldLength.Inside && oldLength.Value >= 8);
  FUZZ_CHECK(offset.Value + oldLength.Value <= old.size());

  const int64_t newLength = input.Image.size();
  const bool resized = newLength != oldLength.Value;
  if (resized) FUZZ_CHECK(!MemberAfter(old, offset.Value));
  FUZZ_CHECK(result.size() == old.size() - oldLength.Value + newLength);
  FUZZ_CHECK(result.mid(offset.Value, newLength) == input.Image);
  FUZZ_CHECK(result.mid(offset.Value + newLength) == old.mid(offset.Value + oldLength.Value));
  QByteArray expectedStart = old.left(offset.Value);
  expectedStart.replace(4, 4, result.mid(4, 4));
  if (resized) {
    FUZZ_CHECK(BigEndianAt(result, 82).Value == newLength);
    expectedStart.replace(82, 4, result.mid(82, 4));
  }
  FUZZ_CHECK(result.left(offset.Value) == expectedStart);

  RecordingWindow exporter;
  exporter.State().ArchivePath = state.ArchivePath;
  exporter.State().ExportPath = folder.Path("exported.fsh");
  FUZZ_CHECK(ExportPortrait(exporter));
  FUZZ_CHECK(ReadFile(exporter.State().ExportPath) == input.Image);

  auto after = folder.Snapshot();
  FUZZ_CHECK(after.keys() == QStringList({"archive.big", "exported.fsh", "import.fsh"}));
  return 0;
}
