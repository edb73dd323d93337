#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

#include "archive/archive_layout.h"

class ArchiveReader;

// Why a file that could be read is still not a portrait archive of a known kind.
enum class ArchiveProblem {
  SizeMismatch,         // ArchiveSize differs from the file's length
  NotPortrait,          // header length of the family's other archives
  UnknownHeaderLength,  // any other header length
  UnknownMarker,        // member 1's marker is neither kind's
};

// What the checks found. The fields after Problem are filled only as far as the
// checks got; all of them when Problem is empty.
struct ArchiveCheck {
  std::optional<ArchiveProblem> Problem;
  int32_t ArchiveSize = 0;
  ArchiveFixedPart FixedPart;
  ArchiveKind Kind = ArchiveKind::PlayerPackage;
  int32_t LastIdentifierCopy = 0;  // file offset of the identifier's last copy (P)
  QByteArray Identifier;           // the 7 bytes found there
};

// The header at the start of the file; a file shorter than it is a read failure.
ArchiveHeader ReadHeader(ArchiveReader& reader);

// The checks a file must pass before the editor shows or patches it: the size
// field against the file's length, the header length, member 1's kind marker,
// and the identifier's last copy in member 3. A read outside the file or an
// overflowing position is thrown as CommandError.
ArchiveCheck CheckArchive(ArchiveReader& reader);
