#include "archive/archive_layout.h"

#include "archive/word_decoding.h"

namespace {
constexpr std::array<int, 4> NameFieldWidths{12, 14, 12, 12};
}

ArchiveHeader ArchiveHeader::Parse(QByteArrayView bytes) {
  Q_ASSERT(bytes.size() >= ArchiveLayout::HeaderSize);
  const char* data = bytes.data();
  ArchiveHeader header;
  header.Magic = QByteArray(data, 4);
  header.ArchiveSize = LittleEndianWord(data + ArchiveLayout::ArchiveSizeOffset);
  header.MemberCount = QByteArray(data + 8, 4);
  header.HeaderLengthRaw =
      static_cast<uint32_t>(LittleEndianWord(data + ArchiveLayout::HeaderLengthOffset));
  return header;
}

ArchiveFixedPart ArchiveFixedPart::Parse(QByteArrayView bytes) {
  Q_ASSERT(bytes.size() >= ArchiveLayout::FixedPartSize);
  const char* data = bytes.data();
  ArchiveFixedPart part;
  part.Header = ArchiveHeader::Parse(bytes);
  for (size_t i = 0; i < part.Entries.size(); ++i) {
    const char* entry = data + ArchiveLayout::EntryOffsets[i];
    part.Entries[i].MemberOffset = BigEndianWord(entry);
    part.Entries[i].MemberSize = BigEndianWord(entry + 4);
    part.Entries[i].Name = QByteArray(entry + 8, NameFieldWidths[i]);
  }
  return part;
}
