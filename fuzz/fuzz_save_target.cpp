// saveWithIdentifier over arbitrary archive bytes and identifier text, into a
// new file, over an existing one, over the archive itself or onto a folder.
// A refused or failed save leaves every file as it was. A save that succeeds
// was of an archive that passes inspectArchive as the kind the boxes say, with
// an identifier of 7 single-byte characters, none a control; it writes a file
// that differs from the archive only in the four directory names and the
// name-table copies, which hold the identifier, and that Load accepts and
// shows with that identifier.
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/archive_inspection.h"
#include "archive/save_archive.h"
#include "fuzz_files.h"
#include "fuzz_inputs.h"
#include "support/archive_fixture.h"

namespace {

// The places a save writes, from the archive's raw bytes: the first 7 bytes of
// the four directory names, and the copies 10 bytes apart that end 10 bytes
// before member 3's name-table end.
struct Places {
  bool inside = false;
  std::array<int64_t, 4> names{24, 44, 66, 86};
  std::vector<int64_t> copies;
};

Places placesIn(const QByteArray& archive, int copies) {
  Places places;
  const RawWord memberOffset = bigEndianAt(archive, 58);
  if (!memberOffset.inside) return places;
  const RawWord end = littleEndianAt(archive, memberOffset.value + 8);
  if (!end.inside) return places;
  const int64_t last = memberOffset.value + end.value - 10;
  for (int copy = 0; copy < copies; ++copy) {
    const int64_t at = last - 10 * copy;
    if (at < 0 || at + 7 > archive.size()) return places;
    places.copies.push_back(at);
  }
  places.inside = true;
  return places;
}

bool isLatin1(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() > 0xFF) return false;
  return true;
}

// A directory name holds the identifier in its case, or upper case where
// Latin-1 has one.
bool sameLetters(const QByteArray& stored, const QByteArray& identifier) {
  return QString::fromLatin1(stored).toLower() == QString::fromLatin1(identifier);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder;
  folder.clear();
  const SaveInput input = SaveInput::parse(data, size);
  const QString typed = QString::fromUtf8(input.identifier);

  const QString archivePath = folder.write("archive.big", input.archive);
  QString target;
  switch (input.target) {
    case SaveTarget::NewFile:
      target = folder.path("saved.big");
      break;
    case SaveTarget::ExistingFile:
      target = folder.write("saved.big", input.oldTarget);
      break;
    case SaveTarget::CurrentArchive:
      target = archivePath;
      break;
    case SaveTarget::Folder:
      target = folder.makeFolder("saved.big");
      break;
  }
  // As the window decides: the player package's box first, then the jersey's.
  const bool player = input.boxes == SaveBoxes::Player || input.boxes == SaveBoxes::Both;
  const QString text = input.boxes == SaveBoxes::Neither ? QString() : typed;
  const archive::ArchiveKind kind = player && !text.isEmpty() ? archive::ArchiveKind::PlayerPackage
                                                              : archive::ArchiveKind::Jersey;

  const auto loaded = archive::inspectArchive(archivePath);
  const auto before = folder.snapshot();
  const auto saved = archive::saveWithIdentifier(archivePath, target, kind, text);

  if (!saved) {
    FUZZ_CHECK(folder.snapshot() == before);
    if (saved.error().isRuntimeFailure()) FUZZ_CHECK(saved.error().number != 0);
    return 0;
  }

  // A file that fails the archive checks is never written from.
  FUZZ_CHECK(loaded);
  FUZZ_CHECK(loaded->kind == kind);
  const QString composed = text.normalized(QString::NormalizationForm_C);
  FUZZ_CHECK(composed.size() == 7 && isLatin1(composed));
  for (const QChar c : composed)
    FUZZ_CHECK(c.unicode() >= 0x20 && (c.unicode() < 0x7F || c.unicode() > 0x9F));
  const QByteArray identifier = composed.toLower().toLatin1();
  const bool playerPackage = kind == archive::ArchiveKind::PlayerPackage;

  const QByteArray result = readFile(target);
  FUZZ_CHECK(result.size() == input.archive.size());
  const Places places = placesIn(input.archive, playerPackage ? 1 : 11);
  FUZZ_CHECK(places.inside);
  QByteArray expected = input.archive;
  for (const int64_t at : places.names) {
    const QByteArray name = result.mid(at, 7);
    FUZZ_CHECK(playerPackage ? sameLetters(name, identifier) : name == identifier);
    expected.replace(at, 7, name);
  }
  for (const int64_t at : places.copies) {
    FUZZ_CHECK(result.mid(at, 7) == identifier);
    expected.replace(at, 7, identifier);
  }
  FUZZ_CHECK(result == expected);

  const auto reloaded = archive::inspectArchive(target);
  FUZZ_CHECK(reloaded);
  FUZZ_CHECK(reloaded->identifier == identifier);
  FUZZ_CHECK(reloaded->kind == kind);

  // Nothing but the target changed, and nothing was left beside it.
  auto after = folder.snapshot();
  auto unchanged = before;
  unchanged.remove("saved.big");
  after.remove("saved.big");
  if (input.target == SaveTarget::CurrentArchive) {
    unchanged.remove("archive.big");
    after.remove("archive.big");
  }
  FUZZ_CHECK(after == unchanged);
  return 0;
}
