// ExportPortrait over arbitrary archive bytes, into a new file, over an
// existing one or onto a folder. The archive is only read, and nothing in the
// window changes. A refused or failed export shows one message and leaves every
// file as it was. An export that succeeds was from an archive that passed the
// size check, and writes exactly the bytes that member 4's image length word
// counts from member 4's offset.
#include <cstddef>
#include <cstdint>

#include "archive/portrait_image.h"
#include "fuzz_files.h"
#include "fuzz_inputs.h"
#include "support/archive_fixture.h"
#include "support/recording_window.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder;
  folder.Clear();
  const ExportInput input = ExportInput::Parse(data, size);
  RecordingWindow window;
  WindowState& state = window.State();
  state.ArchivePath = folder.Write("archive.big", input.Archive);
  switch (input.Target) {
    case ExportTarget::NewFile:
      state.ExportPath = folder.Path("exported.fsh");
      break;
    case ExportTarget::ExistingFile:
      state.ExportPath = folder.Write("exported.fsh", input.OldTarget);
      break;
    case ExportTarget::Folder:
      state.ExportPath = folder.MakeFolder("exported.fsh");
      break;
  }
  const auto before = folder.Snapshot();

  const bool exported = ExportPortrait(window);

  for (const QString& call : window.calls) FUZZ_CHECK(call.startsWith("message "));
  FUZZ_CHECK(ReadFile(state.ArchivePath) == input.Archive);
  if (!exported) {
    FUZZ_CHECK(window.messages.size() == 1);
    FUZZ_CHECK(folder.Snapshot() == before);
    return 0;
  }
  FUZZ_CHECK(window.messages.empty());
  FUZZ_CHECK(input.Target != ExportTarget::Folder);

  const QByteArray& archive = input.Archive;
  const RawWord sizeField = LittleEndianAt(archive, 4);
  FUZZ_CHECK(sizeField.Inside && sizeField.Value == archive.size());
  const RawWord offset = BigEndianAt(archive, 78);
  FUZZ_CHECK(offset.Inside && offset.Value >= 0);
  const RawWord length = LittleEndianAt(archive, offset.Value + 4);
  FUZZ_CHECK(length.Inside && length.Value > 0);
  FUZZ_CHECK(offset.Value + length.Value <= archive.size());
  FUZZ_CHECK(ReadFile(state.ExportPath) == archive.mid(offset.Value, length.Value));

  auto after = folder.Snapshot();
  FUZZ_CHECK(after.keys() == QStringList({"archive.big", "exported.fsh"}));
  return 0;
}
