#include "archive/archive_layout.h"

#include <QtEndian>

namespace archive {

ArchiveHeader ArchiveHeader::parse(QByteArrayView bytes) {
  Q_ASSERT(bytes.size() >= ArchiveLayout::HeaderSize);
  const char* data = bytes.data();
  ArchiveHeader header;
  header.magic = QByteArray(data, 4);
  header.archiveSize = qFromLittleEndian<int32_t>(data + ArchiveLayout::ArchiveSizeOffset);
  header.memberCount = QByteArray(data + ArchiveLayout::MemberCountOffset, 4);
  header.headerLengthRaw = qFromLittleEndian<uint32_t>(data + ArchiveLayout::HeaderLengthOffset);
  return header;
}

ArchiveFixedPart ArchiveFixedPart::parse(QByteArrayView bytes) {
  Q_ASSERT(bytes.size() >= ArchiveLayout::FixedPartSize);
  const char* data = bytes.data();
  ArchiveFixedPart part;
  part.header = ArchiveHeader::parse(bytes);
  for (size_t i = 0; i < part.entries.size(); ++i) {
    const char* entry = data + ArchiveLayout::EntryOffsets[i];
    part.entries[i].memberOffset = qFromBigEndian<int32_t>(entry);
    part.entries[i].memberSize = qFromBigEndian<int32_t>(entry + ArchiveLayout::MemberSizeInEntry);
    part.entries[i].name =
        QByteArray(entry + ArchiveLayout::NameInEntry, ArchiveLayout::NameFieldWidths[i]);
  }
  return part;
}

}  // namespace archive
