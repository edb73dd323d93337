#include "archive/archive_check.h"

#include "archive/archive_reader.h"
#include "archive/name_table.h"
#include "archive/word_decoding.h"

namespace {

std::optional<ArchiveKind> KindOfMarker(uint8_t marker) {
  if (marker == ArchiveLayout::PlayerPackageMarker) return ArchiveKind::PlayerPackage;
  if (marker == ArchiveLayout::JerseyMarker) return ArchiveKind::Jersey;
  return std::nullopt;
}

}  // namespace

ArchiveHeader ReadHeader(ArchiveReader& reader) {
  return ArchiveHeader::Parse(reader.ReadAt(0, ArchiveLayout::HeaderSize));
}

ArchiveCheck CheckArchive(ArchiveReader& reader) {
  ArchiveCheck check;
  const ArchiveHeader header = ReadHeader(reader);
  check.ArchiveSize = header.ArchiveSize;
  if (check.ArchiveSize != reader.Length()) {
    check.Problem = ArchiveProblem::SizeMismatch;
    return check;
  }
  if (header.HeaderLengthRaw != ArchiveLayout::PortraitHeaderLength) {
    check.Problem = header.HeaderLengthRaw == ArchiveLayout::NotPortraitHeaderLength
                        ? ArchiveProblem::NotPortrait
                        : ArchiveProblem::UnknownHeaderLength;
    return check;
  }

  check.FixedPart = ArchiveFixedPart::Parse(reader.ReadAt(0, ArchiveLayout::FixedPartSize));
  const int32_t markerOffset =
      CheckedSum(check.FixedPart.Entries[0].MemberOffset, ArchiveLayout::MarkerOffset);
  const std::optional<ArchiveKind> kind = KindOfMarker(reader.ReadByteAt(markerOffset));
  if (!kind) {
    check.Problem = ArchiveProblem::UnknownMarker;
    return check;
  }
  check.Kind = *kind;

  check.LastIdentifierCopy = LastIdentifierCopy(reader, check.FixedPart);
  check.Identifier = reader.ReadAt(check.LastIdentifierCopy, ArchiveLayout::IdentifierLength);
  return check;
}
