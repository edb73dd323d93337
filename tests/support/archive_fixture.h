#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "archive/archive_layout.h"

// Builds portrait archives for tests. Every field the editor reads can be set;
// the defaults give a valid archive of the chosen kind:
//   header (16) | directory (82) | member 1 (32) | member 2 (16) |
//   member 3: name table (NameTableEnd bytes) | member 4: FSH image | trailing bytes
struct ArchiveFixture {
  ArchiveKind Kind = ArchiveKind::PlayerPackage;
  QByteArray NameTableId = "ab12cd3";     // written into every name-table copy of the kind
  std::optional<QByteArray> DirectoryId;  // default: NameTableId, upper case for a player package
  std::optional<uint8_t> Marker;          // default: the kind's marker
  QByteArray Magic = "BIGF";
  int32_t MemberCount = 4;
  std::array<int32_t, 4> MemberSizes{32, 16, 128, 256};  // written to the directory, never read
  std::optional<int32_t> ArchiveSizeField;               // default: the real length
  uint32_t HeaderLengthRaw = ArchiveLayout::PortraitHeaderLength;
  // What the directory says; the members' data stay where the default layout puts them.
  std::array<std::optional<int32_t>, 4> MemberOffsets;
  int32_t NameTableEnd = 128;               // L, member 3's word at offset 8
  int32_t ImageLength = 256;                // bytes of member 4's image
  std::optional<int32_t> ImageLengthField;  // default: ImageLength
  int32_t TrailingBytes = 0;                // after member 4

  QByteArray Build() const;

  // Where member 1..4's data lie in the built file.
  int32_t OffsetOf(int member) const;
  int32_t LastIdentifierCopy() const { return OffsetOf(3) + NameTableEnd - 10; }
  int32_t Length() const { return OffsetOf(4) + ImageLength + TrailingBytes; }

  static ArchiveFixture Jersey(const QByteArray& id = "ab12cd3");
  static ArchiveFixture PlayerPackage(const QByteArray& id = "ab12cd3");
};

// An FSH-like image of the given length whose length word (offset 4) says lengthField.
// Patches a little-endian word into built bytes, e.g. member 3's L at OffsetOf(3) + 8.
void PutWord(QByteArray& bytes, qsizetype at, int32_t value);

QByteArray FshImage(int32_t length, std::optional<int32_t> lengthField = std::nullopt,
                    uint8_t seed = 1);

// Returns path.
QString WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);
