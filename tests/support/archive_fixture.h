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
//   member 3: name table (nameTableEnd bytes) | member 4: FSH image | trailing bytes
struct ArchiveFixture {
  archive::ArchiveKind kind = archive::ArchiveKind::PlayerPackage;
  QByteArray nameTableId = "ab12cd3";     // written into every name-table copy of the kind
  std::optional<QByteArray> directoryId;  // default: nameTableId, upper case for a player package
  std::optional<uint8_t> marker;          // default: the kind's marker
  QByteArray magic = "BIGF";
  int32_t memberCount = 4;
  std::array<int32_t, 4> memberSizes{32, 16, 128, 256};  // written to the directory, never read
  std::optional<int32_t> archiveSizeField;               // default: the real length
  uint32_t headerLengthRaw = archive::ArchiveLayout::PortraitHeaderLength;
  // What the directory says; the members' data stay where the default layout puts them.
  std::array<std::optional<int32_t>, 4> memberOffsets;
  int32_t nameTableEnd = 128;               // L, member 3's word at offset 8
  int32_t imageLength = 256;                // bytes of member 4's image
  std::optional<int32_t> imageLengthField;  // default: imageLength
  int32_t trailingBytes = 0;                // after member 4
  // Member 4's bytes; by default an FSH-like filler of imageLength bytes (see fshImage).
  std::optional<QByteArray> image;

  // This archive with a real FSH image as its portrait; imageLength follows it.
  ArchiveFixture withImage(const QByteArray& fsh) const;

  QByteArray build() const;
  // The built archive as a save writes it: directoryId over the first 7 bytes
  // of the four directory names, nameTableId over the last `copies` copies.
  QByteArray buildSavedAs(const QByteArray& directoryId, const QByteArray& nameTableId,
                          int copies) const;

  // Where member 1..4's data lie in the built file.
  int32_t offsetOf(int member) const;
  int32_t lastIdentifierCopy() const { return offsetOf(3) + nameTableEnd - 10; }
  int32_t length() const { return offsetOf(4) + imageLength + trailingBytes; }

  static ArchiveFixture jersey(const QByteArray& id = "ab12cd3");
  static ArchiveFixture playerPackage(const QByteArray& id = "ab12cd3");
};

// Patches a little-endian word into built bytes, e.g. member 3's L at offsetOf(3) + 8.
void putWord(QByteArray& bytes, qsizetype at, int32_t value);

// An FSH-like image of the given length whose length word (offset 4) says lengthField.

QByteArray fshImage(int32_t length, std::optional<int32_t> lengthField = std::nullopt,
                    uint8_t seed = 1);

// Returns path.
QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
