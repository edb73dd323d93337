#include "archive/name_table.h"

#include "archive/archive_reader.h"
#include "archive/word_decoding.h"

int32_t LastIdentifierCopy(ArchiveReader& reader, const ArchiveFixedPart& fixedPart) {
  const int32_t memberOffset = fixedPart.Entries[2].MemberOffset;
  const QByteArray start = reader.ReadAt(memberOffset, ArchiveLayout::NameTableStartSize);
  const int32_t nameTableEnd =
      LittleEndianWord(start.constData() + ArchiveLayout::NameTableEndOffset);
  return CheckedDifference(CheckedSum(memberOffset, nameTableEnd),
                           ArchiveLayout::LastCopyBeforeEnd);
}
