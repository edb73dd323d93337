// SaveArchive over arbitrary archive bytes and identifier text, into a new
// file, over an existing one, over the archive itself or onto a folder.
// A refused or failed save leaves every file as it was and the current archive
// current. A save that succeeds was of an archive that Load accepts, with an
// identifier of 7 single-byte characters; it writes a file that differs from the
// archive only in the four directory names and the name-table copies, which
// hold the identifier, and that Load accepts and shows with that identifier.
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/command_error.h"
#include "archive/load_archive.h"
#include "archive/save_archive.h"
#include "fuzz_files.h"
#include "fuzz_inputs.h"
#include "support/archive_fixture.h"
#include "support/recording_window.h"

namespace {

// Load's answer for the file at path, and the identifier it shows.
struct Loaded {
  bool Accepted = false;
  QString Shown;
};

Loaded Load(const QString& path) {
  RecordingWindow window;
  window.State().ArchivePath = path;
  Loaded loaded;
  loaded.Accepted = LoadArchive(window);
  loaded.Shown = window.enabled[0] ? window.text[0] : window.text[1];
  return loaded;
}

// The places a save writes, from the archive's raw bytes: the first 7 bytes of
// the four directory names, and the copies 10 bytes apart that end 10 bytes
// before member 3's name-table end.
struct Places {
  bool Inside = false;
  std::array<int64_t, 4> Names{24, 44, 66, 86};
  std::vector<int64_t> Copies;
};

Places PlacesIn(const QByteArray& archive, int copies) {
  Places places;
  const RawWord memberOffset = BigEndianAt(archive, 58);
  if (!memberOffset.Inside) return places;
  const RawWord end = LittleEndianAt(archive, memberOffset.Value + 8);
  if (!end.Inside) return places;
  const int64_t last = memberOffset.Value + end.Value - 10;
  for (int copy = 0; copy < copies; ++copy) {
    const int64_t at = last - 10 * copy;
    if (at < 0 || at + 7 > archive.size()) return places;
    places.Copies.push_back(at);
  }
  places.Inside = true;
  return places;
}

bool IsLatin1(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() > 0xFF) return false;
  return true;
}

// A directory name holds the identifier in its case, or upper case where
// Latin-1 has one.
bool SameLetters(const QByteArray& stored, const QByteArray& identifier) {
  return QString::fromLatin1(stored).toLower() == QString::fromLatin1(identifier);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder;
  folder.Clear();
  const SaveInput input = SaveInput::Parse(data, size);
  const QString typed = QString::fromUtf8(input.Identifier);

  RecordingWindow window;
  WindowState& state = window.State();
  const QString archivePath = folder.Write("archive.big", input.Archive);
  state.ArchivePath = archivePath;
  switch (input.Target) {
    case SaveTarget::NewFile:
      state.SavePath = folder.Path("saved.big");
      break;
    case SaveTarget::ExistingFile:
      state.SavePath = folder.Write("saved.big", input.OldTarget);
      break;
    case SaveTarget::CurrentArchive:
      state.SavePath = archivePath;
      break;
    case SaveTarget::Folder:
      state.SavePath = folder.MakeFolder("saved.big");
      break;
  }
  if (input.Boxes == SaveBoxes::Player || input.Boxes == SaveBoxes::Both) window.text[0] = typed;
  if (input.Boxes == SaveBoxes::Jersey) window.text[1] = typed;
  if (input.Boxes == SaveBoxes::Both) window.text[1] = QStringLiteral("jrs0001");
  const QString boxes[2]{window.text[0], window.text[1]};

  const bool loads = Load(archivePath).Accepted;
  const auto before = folder.Snapshot();
  bool saved = false;
  bool failed = false;
  try {
    saved = SaveArchive(window);
  } catch (const CommandError& error) {
    failed = true;
    FUZZ_CHECK(error.Number() != 0 && error.Number() != CancelErrorNumber);
    FUZZ_CHECK(!error.Description().isEmpty());
  }

  // Save changes no control; the boxes keep what was typed.
  FUZZ_CHECK(window.text[0] == boxes[0] && window.text[1] == boxes[1]);
  FUZZ_CHECK(!window.fileButtons && window.showsize.isEmpty());
  for (const QString& call : window.calls) FUZZ_CHECK(call.startsWith("message "));

  if (!saved) {
    FUZZ_CHECK(folder.Snapshot() == before);
    FUZZ_CHECK(state.ArchivePath == archivePath);
    // A refusal is one plain message; a runtime failure goes to the command.
    FUZZ_CHECK(window.messages.size() == (failed ? 0u : 1u));
    if (!failed) FUZZ_CHECK(window.messages[0].Style == MessageStyle::Plain);
    return 0;
  }

  FUZZ_CHECK(window.messages.empty());
  FUZZ_CHECK(state.ArchivePath == state.SavePath);
  // A file that failed Load's checks is never patched.
  FUZZ_CHECK(loads);

  const bool player = !boxes[0].isEmpty();
  const QString composed = (player ? boxes[0] : boxes[1]).normalized(QString::NormalizationForm_C);
  FUZZ_CHECK(composed.size() == 7 && IsLatin1(composed));
  const QByteArray identifier = composed.toLower().toLatin1();

  const QByteArray result = ReadFile(state.SavePath);
  FUZZ_CHECK(result.size() == input.Archive.size());
  const Places places = PlacesIn(input.Archive, player ? 1 : 11);
  FUZZ_CHECK(places.Inside);
  QByteArray expected = input.Archive;
  for (const int64_t at : places.Names) {
    const QByteArray name = result.mid(at, 7);
    FUZZ_CHECK(player ? SameLetters(name, identifier) : name == identifier);
    expected.replace(at, 7, name);
  }
  for (const int64_t at : places.Copies) {
    FUZZ_CHECK(result.mid(at, 7) == identifier);
    expected.replace(at, 7, identifier);
  }
  FUZZ_CHECK(result == expected);

  const Loaded reloaded = Load(state.SavePath);
  FUZZ_CHECK(reloaded.Accepted);
  FUZZ_CHECK(reloaded.Shown == QString::fromLatin1(identifier));

  // Nothing but the target changed, and nothing was left beside it.
  auto after = folder.Snapshot();
  auto unchanged = before;
  unchanged.remove("saved.big");
  after.remove("saved.big");
  if (input.Target == SaveTarget::CurrentArchive) {
    unchanged.remove("archive.big");
    after.remove("archive.big");
  }
  FUZZ_CHECK(after == unchanged);
  return 0;
}
