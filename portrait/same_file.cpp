#include "portrait/same_file.h"

#include "archive/prepared_file.h"

namespace portrait {

Expected<void, ArchiveError> checkNotTheArchive(const QString& archivePath, const QString& other,
                                                ArchiveError::Kind kind) {
  if (!isSameFile(archivePath, other)) return {};
  ArchiveError error = ArchiveError::of(kind);
  error.path = other;
  return Unexpected(std::move(error));
}

}  // namespace portrait
