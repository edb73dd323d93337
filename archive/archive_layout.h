#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>

namespace archive {

// The one archive shape the editor knows: a 16-byte header and a directory of
// exactly four entries, ending at offset 98.
namespace ArchiveLayout {
inline constexpr int HeaderSize = 16;
inline constexpr int ArchiveSizeOffset = 4;
inline constexpr int MemberCountOffset = 8;
inline constexpr int HeaderLengthOffset = 12;
inline constexpr int DirectoryOffset = 16;
inline constexpr int FixedPartSize = 98;  // header and directory

// The four directory entries: where each starts and where its name field starts.
inline constexpr std::array<int, 4> EntryOffsets{16, 36, 58, 78};
inline constexpr std::array<int, 4> NameFieldOffsets{24, 44, 66, 86};
// MemberSize: the big-endian word after an entry's MemberOffset.
inline constexpr int MemberSizeInEntry = 4;
inline constexpr int NameInEntry = 8;
inline constexpr std::array<int, 4> NameFieldWidths{12, 14, 12, 12};

// HeaderLength is compared as raw bytes, read as a little-endian word.
inline constexpr uint32_t PortraitHeaderLength = 0x62000000;     // 00 00 00 62
inline constexpr uint32_t NotPortraitHeaderLength = 0x5D000000;  // 00 00 00 5D

// Member 1: the kind marker.
inline constexpr int MarkerOffset = 12;
inline constexpr uint8_t PlayerPackageMarker = 0x18;
inline constexpr uint8_t JerseyMarker = 0x8C;

// Member 3: the name table. Its end L is a word at offset 8 of the member; the
// identifier copies lie 10 bytes apart, the last one 10 bytes before L.
inline constexpr int NameTableStartSize = 12;
inline constexpr int NameTableEndOffset = 8;
inline constexpr int LastCopyBeforeEnd = 10;
inline constexpr int CopySpacing = 10;
inline constexpr int JerseyCopyCount = 11;

// Member 4: the portrait image, an FSH file: it starts with the signature
// "SHPI", and its own length is a word at offset 4.
inline constexpr int ImageStartSize = 8;
inline constexpr int ImageLengthOffset = 4;
inline constexpr char ImageSignature[] = "SHPI";

inline constexpr int IdentifierLength = 7;
}  // namespace ArchiveLayout

enum class ArchiveKind { PlayerPackage, Jersey };

struct ArchiveHeader {
  QByteArray magic;
  int32_t archiveSize = 0;  // little-endian
  QByteArray memberCount;
  uint32_t headerLengthRaw = 0;  // the 4 bytes read as a little-endian word

  static ArchiveHeader parse(QByteArrayView bytes);  // the first 16 bytes of a file
};

// A directory entry; DirEntry12 and DirEntry14 differ only in the width of the
// name field, which the editor never reads for its value.
struct DirEntry {
  int32_t memberOffset = 0;  // big-endian
  int32_t memberSize = 0;    // big-endian, never used
  QByteArray name;
};

// The header and the four entries, parsed from the first 98 bytes of a file.
struct ArchiveFixedPart {
  ArchiveHeader header;
  std::array<DirEntry, 4> entries;

  static ArchiveFixedPart parse(QByteArrayView bytes);
};

}  // namespace archive
