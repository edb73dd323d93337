#include "archive/save_archive.h"

#include <algorithm>
#include <vector>

#include "archive/archive_inspection.h"
#include "archive/portrait_identifier.h"
#include "fileio/file_reader.h"
#include "fileio/file_replacement.h"

namespace archive {

namespace {

// The identifier copies of member 3 are patched at P, P - 10, ...: they must
// lie inside the file, after the header and directory and after the start of
// the name table that holds L, or the saved file would no longer load.
bool copiesLieInNameTable(const ArchiveInfo& info, qint64 fileLength, int copies) {
  const qint64 memberOffset = info.fixedPart.entries[2].memberOffset;
  const qint64 lowest = std::max<qint64>(ArchiveLayout::FixedPartSize,
                                         memberOffset + ArchiveLayout::NameTableStartSize);
  const qint64 first =
      qint64{info.lastIdentifierCopy} - qint64{ArchiveLayout::CopySpacing} * (copies - 1);
  const qint64 end = qint64{info.lastIdentifierCopy} + ArchiveLayout::IdentifierLength;
  return first >= lowest && end <= fileLength;
}

// Where the identifier goes, in file order: the four directory names, then the
// copies in member 3, lowest first (they lie after the directory).
std::vector<qint64> writePositions(const ArchiveInfo& info, int copies) {
  std::vector<qint64> positions(ArchiveLayout::NameFieldOffsets.begin(),
                                ArchiveLayout::NameFieldOffsets.end());
  for (int copy = copies - 1; copy >= 0; --copy)
    positions.push_back(qint64{info.lastIdentifierCopy} -
                        qint64{copy} * ArchiveLayout::CopySpacing);
  return positions;
}

// Members may overlap the directory or each other; a write over member 1's
// kind marker or member 3's name-table end would leave a file that no longer
// loads, or loads as something else.
bool sparesWhatLoadReads(const ArchiveInfo& info, const std::vector<qint64>& positions) {
  const qint64 marker =
      qint64{info.fixedPart.entries[0].memberOffset} + ArchiveLayout::MarkerOffset;
  const qint64 nameTableEnd =
      qint64{info.fixedPart.entries[2].memberOffset} + ArchiveLayout::NameTableEndOffset;
  return std::none_of(positions.begin(), positions.end(), [&](qint64 at) {
    const auto covers = [at](qint64 start, qint64 length) {
      return at < start + length && start < at + ArchiveLayout::IdentifierLength;
    };
    return covers(marker, 1) || covers(nameTableEnd, 4);
  });
}

}  // namespace

Expected<NewFile, ArchiveError> makeSaveWithIdentifier(const QString& source, const QString& target,
                                                       ArchiveKind kind,
                                                       const QString& identifierText, Making how) {
  // Opened with read access only: the new content goes to a temporary file
  // that is renamed over the target only when complete.
  const auto reader = fileio::FileReader::open(source);
  if (!reader) return Unexpected(reader.error());
  const auto info = inspectArchive(*reader);
  if (!info) return Unexpected(info.error());

  if (identifierText.isEmpty())
    return Unexpected(ArchiveError::of(ArchiveError::Kind::IdentifierMissing));
  // Another program wrote an archive of the other kind over it: its identifier
  // copies lie elsewhere and its names have the other case.
  if (info->kind != kind) return Unexpected(ArchiveError::of(ArchiveError::Kind::KindChanged));
  const int copies = kind == ArchiveKind::Jersey ? ArchiveLayout::JerseyCopyCount : 1;
  if (!copiesLieInNameTable(*info, reader->length(), copies))
    return Unexpected(ArchiveError::of(ArchiveError::Kind::NameTableOutside));
  const std::vector<qint64> positions = writePositions(*info, copies);
  if (!sparesWhatLoadReads(*info, positions))
    return Unexpected(ArchiveError::of(ArchiveError::Kind::WouldOverwriteLoadBytes));

  const auto identifier = validateIdentifier(identifierText);
  if (!identifier) return Unexpected(identifier.error());

  std::vector<fileio::ContentPiece> pieces;
  qint64 copied = 0;
  const auto copyUpTo = [&](qint64 end) -> Expected<void, ArchiveError> {
    auto piece = fileio::ContentPiece::range(*reader, copied, end - copied);
    if (!piece) return Unexpected(piece.error());
    pieces.push_back(*piece);
    return {};
  };
  for (size_t i = 0; i < positions.size(); ++i) {
    if (auto copiedUpTo = copyUpTo(positions[i]); !copiedUpTo)
      return Unexpected(copiedUpTo.error());
    pieces.emplace_back(i < ArchiveLayout::NameFieldOffsets.size()
                            ? identifier->directoryBytes(kind)
                            : identifier->lowerCase);
    copied = positions[i] + ArchiveLayout::IdentifierLength;
  }
  if (auto copiedToEnd = copyUpTo(reader->length()); !copiedToEnd)
    return Unexpected(copiedToEnd.error());
  return makeFile(target, pieces, how);
}

Expected<void, ArchiveError> saveWithIdentifier(const QString& source, const QString& target,
                                                ArchiveKind kind, const QString& identifierText) {
  return commitMade(makeSaveWithIdentifier(source, target, kind, identifierText, Making::Prepare));
}

}  // namespace archive
