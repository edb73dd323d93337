#include "portrait/same_file.h"

#include "archive/prepared_file.h"

namespace portrait {

Expected<void, archive::ArchiveError> checkNotTheArchive(const QString& archivePath,
                                                         const QString& other,
                                                         archive::ArchiveError::Kind kind) {
  if (!archive::isSameFile(archivePath, other)) return {};
  archive::ArchiveError error = archive::ArchiveError::of(kind);
  error.path = other;
  return Unexpected(std::move(error));
}

}  // namespace portrait
