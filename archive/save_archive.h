#pragma once

#include <QString>

#include "archive/archive_error.h"
#include "archive/archive_layout.h"
#include "archive/new_file.h"
#include "common/expected.h"

namespace archive {

// Writes the archive at source to target with identifierText written into the
// four directory names and the name table's copies of the identifier (one for
// a player package, eleven for a jersey); every other byte is copied as it is.
// kind is what the archive was when the caller looked at it. The source is
// checked again first, since it may have changed on disk since: a file that
// fails the checks, or is now of the other kind, is never written from.
// A refusal or failure writes nothing: an existing target stays as it was.
// Saving over the source itself is safe.
//
// The checks run in this order: the source's own checks (inspectArchive), an
// empty identifierText (IdentifierMissing), the source's kind (KindChanged),
// where the copies would go (NameTableOutside, WouldOverwriteLoadBytes), then
// the identifier itself (validateIdentifier).
Expected<void, ArchiveError> saveWithIdentifier(const QString& source, const QString& target,
                                                ArchiveKind kind, const QString& identifierText);

// The same with every check made and the new file prepared aside, but not yet
// committed (for a batch, which commits many together: see
// fileio::commitTogether), or only planned, for a dry run.
Expected<NewFile, ArchiveError> makeSaveWithIdentifier(const QString& source, const QString& target,
                                                       ArchiveKind kind,
                                                       const QString& identifierText, Making how);

}  // namespace archive
