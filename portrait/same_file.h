#pragma once

#include <QString>

#include "archive/archive_error.h"
#include "common/expected.h"

namespace portrait {

// Refuses other when it is the archive itself under any name (a hard or
// symbolic link, "a/../b"), with kind: ImageIsArchive for an image to import
// (an archive's size field is where an image keeps its length: it would pass
// for one), TargetIsArchive for a file to write (it would lose the archive).
// The error names other.
Expected<void, archive::ArchiveError> checkNotTheArchive(const QString& archivePath,
                                                         const QString& other,
                                                         archive::ArchiveError::Kind kind);

}  // namespace portrait
