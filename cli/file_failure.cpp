#include "cli/file_failure.h"

FileFailure archiveFailure(const QString& file, const ArchiveError& error) {
  return {file, describe(error)};
}

FileFailure portraitFailure(const QString& file, const fsh::Error& error) {
  return {file, QStringLiteral("portrait image: ") + error.message};
}
