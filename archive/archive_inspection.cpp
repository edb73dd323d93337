#include "archive/archive_inspection.h"

#include <algorithm>

#include "fileio/checked_arithmetic.h"
#include "fileio/file_reader.h"

namespace archive {

namespace {

std::optional<ArchiveKind> kindOfMarker(uint8_t marker) {
  if (marker == ArchiveLayout::PlayerPackageMarker) return ArchiveKind::PlayerPackage;
  if (marker == ArchiveLayout::JerseyMarker) return ArchiveKind::Jersey;
  return std::nullopt;
}

// A read the header or directory sends outside the file is a fault of the
// archive's content, not of the disk.
ArchiveError asContentFault(const ArchiveError& error) {
  if (!error.isRuntimeFailure() || error.kind == ArchiveError::Kind::SystemError) return error;
  return {ArchiveError::Kind::OutsideFile, error.number, error.detail, error.path};
}

// The file offset of the last identifier copy in member 3's name table:
// E - 10, where E = the member's offset + L, its name-table end.
Expected<int32_t, ArchiveError> lastIdentifierCopy(const fileio::FileReader& reader,
                                                   const ArchiveFixedPart& fixedPart) {
  const int32_t memberOffset = fixedPart.entries[2].memberOffset;
  auto nameTableEnd = reader.readWordInRecord(memberOffset, ArchiveLayout::NameTableStartSize,
                                              ArchiveLayout::NameTableEndOffset);
  if (!nameTableEnd) return nameTableEnd;
  auto end = fileio::checkedSum(memberOffset, *nameTableEnd);
  if (!end) return end;
  return fileio::checkedDifference(*end, ArchiveLayout::LastCopyBeforeEnd);
}

PortraitPlace portraitPlace(const fileio::FileReader& reader, const ArchiveFixedPart& fixedPart) {
  PortraitPlace place;
  place.offset = fixedPart.entries[3].memberOffset;
  if (const auto length = portraitLengthWord(reader, place.offset)) place.ownLength = *length;
  place.isLastMember =
      std::none_of(fixedPart.entries.begin(), fixedPart.entries.end(),
                   [&place](const DirEntry& entry) { return entry.memberOffset > place.offset; });
  return place;
}

Expected<ArchiveInfo, ArchiveError> inspect(const fileio::FileReader& reader) {
  const auto header = readHeader(reader);
  if (!header) return Unexpected(header.error());
  if (header->archiveSize != reader.length())
    return Unexpected(ArchiveError::of(ArchiveError::Kind::SizeMismatch));
  if (header->headerLengthRaw != ArchiveLayout::PortraitHeaderLength)
    return Unexpected(
        ArchiveError::of(header->headerLengthRaw == ArchiveLayout::NotPortraitHeaderLength
                             ? ArchiveError::Kind::NotPortrait
                             : ArchiveError::Kind::UnknownHeaderLength));

  ArchiveInfo info;
  info.archiveSize = header->archiveSize;
  const auto fixedPart = reader.readAt(0, ArchiveLayout::FixedPartSize);
  if (!fixedPart) return Unexpected(fixedPart.error());
  info.fixedPart = ArchiveFixedPart::parse(*fixedPart);

  const auto markerOffset =
      fileio::checkedSum(info.fixedPart.entries[0].memberOffset, ArchiveLayout::MarkerOffset);
  if (!markerOffset) return Unexpected(markerOffset.error());
  const auto marker = reader.readByteAt(*markerOffset);
  if (!marker) return Unexpected(marker.error());
  const std::optional<ArchiveKind> kind = kindOfMarker(*marker);
  if (!kind) return Unexpected(ArchiveError::of(ArchiveError::Kind::UnknownMarker));
  info.kind = *kind;

  const auto copy = lastIdentifierCopy(reader, info.fixedPart);
  if (!copy) return Unexpected(copy.error());
  info.lastIdentifierCopy = *copy;
  const auto identifier = reader.readAt(*copy, ArchiveLayout::IdentifierLength);
  if (!identifier) return Unexpected(identifier.error());
  info.identifier = *identifier;
  info.portrait = portraitPlace(reader, info.fixedPart);
  return info;
}

}  // namespace

Expected<int32_t, ArchiveError> portraitLengthWord(const fileio::FileReader& reader,
                                                   int32_t portraitOffset) {
  return reader.readWordInRecord(portraitOffset, ArchiveLayout::ImageStartSize,
                                 ArchiveLayout::ImageLengthOffset);
}

Expected<ArchiveHeader, ArchiveError> readHeader(const fileio::FileReader& reader) {
  const auto bytes = reader.readAt(0, ArchiveLayout::HeaderSize);
  if (!bytes) return Unexpected(bytes.error());
  return ArchiveHeader::parse(*bytes);
}

Expected<ArchiveInfo, ArchiveError> inspectArchive(const fileio::FileReader& reader) {
  auto info = inspect(reader);
  if (!info) return Unexpected(asContentFault(info.error()));
  return info;
}

Expected<ArchiveInfo, ArchiveError> inspectArchive(const QString& path) {
  const auto reader = fileio::FileReader::open(path);
  if (!reader) return Unexpected(reader.error());
  return inspectArchive(*reader);
}

}  // namespace archive
