#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

#include "archive/archive_error.h"
#include "archive/archive_layout.h"
#include "common/expected.h"

namespace fileio {
class FileReader;
}

namespace archive {

// Where member 4, the portrait image, lies. Inspecting an archive does not
// judge the image; reading or replacing it does.
struct PortraitPlace {
  int32_t offset = 0;                // as the directory gives it
  std::optional<int32_t> ownLength;  // the image's own length word, where it lies in the file
  bool isLastMember = false;         // no member starts after it
};

// What a portrait archive that passed every check holds.
struct ArchiveInfo {
  ArchiveKind kind = ArchiveKind::PlayerPackage;
  QByteArray identifier;  // the 7 bytes of the name table's last copy
  int32_t archiveSize = 0;
  ArchiveFixedPart fixedPart;
  int32_t lastIdentifierCopy = 0;  // file offset of that copy
  PortraitPlace portrait;
};

// The checks a file must pass before it is shown or patched: the size field
// against the file's length, the header length, member 1's kind marker, and
// the identifier's last copy in member 3. A position outside the file, or one
// that overflows, is OutsideFile; what the system refuses is SystemError.
Expected<ArchiveInfo, ArchiveError> inspectArchive(const QString& path);
Expected<ArchiveInfo, ArchiveError> inspectArchive(const fileio::FileReader& reader);

// The portrait image's own length word, read with the 8 bytes of the image's
// start that hold it; they must lie in the file.
Expected<int32_t, ArchiveError> portraitLengthWord(const fileio::FileReader& reader,
                                                   int32_t portraitOffset);

// The header at the start of the file; a file shorter than it is a failure.
Expected<ArchiveHeader, ArchiveError> readHeader(const fileio::FileReader& reader);

}  // namespace archive
