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
  // The directory names come first in the file, then the copies in member 3,
  // lowest first; the name table lies after the directory.
  std::vector<ContentPiece> pieces;
  qint64 copied = 0;
  const auto patch = [&](qint64 at, const QByteArray& identifier) {
    pieces.push_back(ContentPiece::Range(archive.Reader, copied, at - copied));
    pieces.emplace_back(identifier);
    copied = at + identifier.size();
  };
  for (const int nameField : ArchiveLayout::NameFieldOffsets) patch(nameField, directoryId);
  for (int copy = copies - 1; copy >= 0; --copy)
    patch(archive.Check.LastIdentifierCopy - copy * ArchiveLayout::CopySpacing, dataId);
  pieces.push_back(ContentPiece::Range(archive.Reader, copied, archive.Reader.Length() - copied));

  ReplaceFileContents(state.SavePath, pieces);
  state.ArchivePath = state.SavePath;
  return true;
}
