#include "archive/save_archive.h"

#include <QFileInfo>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "archive/archive_check.h"
#include "archive/archive_reader.h"
#include "archive/command_error.h"
#include "archive/editor_window.h"
#include "archive/file_replacement.h"

namespace {

bool IsPositionFailure(const CommandError& error) {
  return error.Number() == OverflowErrorNumber || error.Number() == PastEndOfFileErrorNumber ||
         error.Number() == BadPositionErrorNumber;
}

QString ProblemReason(ArchiveProblem problem) {
  switch (problem) {
    case ArchiveProblem::SizeMismatch:
      return "its size field does not match its length";
    case ArchiveProblem::NotPortrait:
    case ArchiveProblem::UnknownHeaderLength:
      return "its header is not that of a portrait archive";
    case ArchiveProblem::UnknownMarker:
      return "its kind marker is unknown";
  }
  return {};
}

// The current archive as it is on disk now: it may have been changed or
// replaced since it was loaded. It is opened with read access only; saving over
// it is safe, since the new content goes to a temporary file that is renamed
// over it only when complete.
struct CurrentArchive {
  explicit CurrentArchive(const QString& path) : Reader(path) {}
  ArchiveReader Reader;
  ArchiveCheck Check;
  QString Invalid;  // why it fails Load's checks; empty when it passes
};

void CheckCurrentArchive(CurrentArchive& archive) {
  try {
    archive.Check = CheckArchive(archive.Reader);
  } catch (const CommandError& error) {
    // A directory pointing outside the file fails Load too: a fault of the
    // archive's content, not of the disk.
    if (!IsPositionFailure(error)) throw;
    archive.Invalid = "its directory points outside the file";
    return;
  }
  if (archive.Check.Problem) archive.Invalid = ProblemReason(*archive.Check.Problem);
}

void RefuseInvalidArchive(EditorWindow& window, const QString& text) {
  window.ShowMessage(text.arg(QFileInfo(window.State().ArchivePath).fileName()) +
                         QStringLiteral(" Nothing was saved."),
                     QStringLiteral("Invalid File"), MessageStyle::Plain);
}

// The identifier copies of member 3 are patched at P, P - 10, ...: they must
// lie inside the file, after the header and directory and after the start of
// the name table that holds L, or the saved file would no longer load.
bool CopiesLieInNameTable(const CurrentArchive& archive, int copies) {
  const qint64 memberOffset = archive.Check.FixedPart.Entries[2].MemberOffset;
  const qint64 lowest = std::max<qint64>(ArchiveLayout::FixedPartSize,
                                         memberOffset + ArchiveLayout::NameTableStartSize);
  const qint64 first =
      qint64{archive.Check.LastIdentifierCopy} - qint64{ArchiveLayout::CopySpacing} * (copies - 1);
  const qint64 end = qint64{archive.Check.LastIdentifierCopy} + ArchiveLayout::IdentifierLength;
  return first >= lowest && end <= archive.Reader.Length();
}

// Where the identifier goes, in file order: the four directory names, then the
// copies in member 3, lowest first (they lie after the directory).
std::vector<qint64> WritePositions(const ArchiveCheck& check, int copies) {
  std::vector<qint64> positions(ArchiveLayout::NameFieldOffsets.begin(),
                                ArchiveLayout::NameFieldOffsets.end());
  for (int copy = copies - 1; copy >= 0; --copy)
    positions.push_back(qint64{check.LastIdentifierCopy} - copy * ArchiveLayout::CopySpacing);
  return positions;
}

// Members may overlap the directory or each other; a write over member 1's
// kind marker or member 3's name-table end would leave a file that no longer
// loads, or loads as something else.
bool SparesWhatLoadReads(const ArchiveCheck& check, const std::vector<qint64>& positions) {
  const qint64 marker =
      qint64{check.FixedPart.Entries[0].MemberOffset} + ArchiveLayout::MarkerOffset;
  const qint64 nameTableEnd =
      qint64{check.FixedPart.Entries[2].MemberOffset} + ArchiveLayout::NameTableEndOffset;
  return std::none_of(positions.begin(), positions.end(), [&](qint64 at) {
    const auto covers = [at](qint64 start, qint64 length) {
      return at < start + length && start < at + ArchiveLayout::IdentifierLength;
    };
    return covers(marker, 1) || covers(nameTableEnd, 4);
  });
}

qsizetype VisibleCharacters(const QString& text) {
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  qsizetype count = 0;
  while (finder.toNextBoundary() > 0) ++count;
  return count;
}

// Each character is stored as one Latin-1 byte. A letter whose other case has
// no Latin-1 form (the upper case of y with diaeresis, of the micro sign) keeps
// its own, so the identifier stays 7 bytes long.
QByteArray StoredIdentifier(const QString& latin1Text, bool upperCase) {
  QByteArray bytes;
  for (const QChar c : latin1Text) {
    const QChar mapped = upperCase ? c.toUpper() : c.toLower();
    bytes.append(static_cast<char>(mapped.unicode() <= 0xFF ? mapped.unicode() : c.unicode()));
  }
  return bytes;
}

}  // namespace

bool SaveArchive(EditorWindow& window) {
  WindowState& state = window.State();
  CurrentArchive archive(state.ArchivePath);
  CheckCurrentArchive(archive);
  if (!archive.Invalid.isEmpty()) {
    RefuseInvalidArchive(window, "The current archive %1 is no longer a valid portrait archive: " +
                                     archive.Invalid + ".");
    return false;
  }

  ArchiveKind kind = ArchiveKind::PlayerPackage;
  QString text = window.IdentifierText(IdentifierBox::pkgtxt);
  if (text.isEmpty()) {
    kind = ArchiveKind::Jersey;
    text = window.IdentifierText(IdentifierBox::jrsytxt);
  }
  if (text.isEmpty()) {
    window.ShowMessage("unknown file type", "Error", MessageStyle::Plain);
    return false;
  }
  const int copies = kind == ArchiveKind::Jersey ? ArchiveLayout::JerseyCopyCount : 1;
  if (!CopiesLieInNameTable(archive, copies)) {
    RefuseInvalidArchive(window,
                         "The identifier cannot be written into %1: its name table would reach "
                         "outside the file or over the archive's directory.");
    return false;
  }
  const std::vector<qint64> positions = WritePositions(archive.Check, copies);
  if (!SparesWhatLoadReads(archive.Check, positions)) {
    RefuseInvalidArchive(window,
                         "The identifier cannot be written into %1: it would overwrite the bytes "
                         "that tell the archive's kind or where its name table ends.");
    return false;
  }

  // Counted as the user sees them: an accent typed as a combining mark belongs
  // to its letter, and a character outside the basic plane is one character.
  const QString composed = text.normalized(QString::NormalizationForm_C);
  if (VisibleCharacters(composed) != ArchiveLayout::IdentifierLength) {
    window.ShowMessage("Only 7 characters are allowed. No more no less", "Error",
                       MessageStyle::Plain);
    return false;
  }
  const bool singleBytes =
      composed.size() == ArchiveLayout::IdentifierLength &&
      std::all_of(composed.begin(), composed.end(), [](QChar c) { return c.unicode() <= 0xFF; });
  if (!singleBytes) {
    window.ShowMessage(QStringLiteral("\"%1\" cannot be saved: the archive stores each character "
                                      "of the identifier in one byte, so only Latin-1 letters, "
                                      "digits and signs are allowed.")
                           .arg(text),
                       "Error", MessageStyle::Plain);
    return false;
  }

  const QByteArray dataId = StoredIdentifier(composed, false);
  const QByteArray directoryId =
      kind == ArchiveKind::PlayerPackage ? StoredIdentifier(composed, true) : dataId;
  std::vector<ContentPiece> pieces;
  qint64 copied = 0;
  for (size_t i = 0; i < positions.size(); ++i) {
    const qint64 at = positions[i];
    pieces.push_back(ContentPiece::Range(archive.Reader, copied, at - copied));
    pieces.emplace_back(i < ArchiveLayout::NameFieldOffsets.size() ? directoryId : dataId);
    copied = at + ArchiveLayout::IdentifierLength;
  }
  pieces.push_back(ContentPiece::Range(archive.Reader, copied, archive.Reader.Length() - copied));

  ReplaceFileContents(state.SavePath, pieces);
  state.ArchivePath = state.SavePath;
  return true;
}
