#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "archive/archive_error.h"
#include "archive/new_file.h"
#include "common/expected.h"

namespace fileio {
class FileReader;
}
namespace archive {

struct ArchiveInfo;

// Member 4 of an archive is its portrait, an FSH image whose own length word
// (offset 4) gives its length. These operations need only the archive's size
// field to match its length, so they work on archives that Load would refuse
// for their kind. A refusal or failure writes nothing.

// Where the portrait lies in an archive that is open: its offset, and its length
// as its own length word gives it, checked to lie inside the archive.
struct PortraitRange {
  int32_t offset = 0;
  int32_t length = 0;
};
Expected<PortraitRange, ArchiveError> locatePortrait(const fileio::FileReader& archive);
// The same for an archive that inspectArchive described, without parsing its
// header and directory again.
Expected<PortraitRange, ArchiveError> locatePortrait(const fileio::FileReader& archive,
                                                     const ArchiveInfo& info);

// The portrait's bytes. Its length word is checked against the archive before
// anything is allocated, so at most the archive's own length is read.
Expected<QByteArray, ArchiveError> readPortrait(const QString& archivePath);

// Writes the portrait to targetPath, which afterwards holds exactly its bytes.
Expected<void, ArchiveError> exportPortrait(const QString& archivePath, const QString& targetPath);

// Puts the FSH image in the file at imagePath, or the image bytes, in place of
// the archive's portrait. The image is checked first: it must not be empty
// (EmptyImageFile) and its length word must equal its size (NotAnImage). An
// image of another length than the portrait can only replace the archive's
// last member; the header's size field and entry 4's size then follow it.
Expected<void, ArchiveError> importPortrait(const QString& archivePath, const QString& imagePath);
Expected<void, ArchiveError> importPortraitBytes(const QString& archivePath,
                                                 const QByteArray& image);

// The same three with every check made and the new file prepared aside, but
// not yet committed (for a batch, which commits many together: see
// fileio::commitTogether), or only planned, for a dry run. An import's plan
// holds the new archive's content, which its checks read.
Expected<NewFile, ArchiveError> makeExportPortrait(const QString& archivePath,
                                                   const QString& targetPath, Making how);
Expected<NewFile, ArchiveError> makeImportPortrait(const QString& archivePath,
                                                   const QString& imagePath, Making how);
Expected<NewFile, ArchiveError> makeImportPortraitBytes(const QString& archivePath,
                                                        const QByteArray& image, Making how);

}  // namespace archive
