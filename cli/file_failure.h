#pragma once

#include <QString>

#include "archive/archive_error.h"
#include "fsh/fsh_error.h"

// Why the command line could not do what it was asked for one file: the file
// the failure concerns, as the user named it, and the reason in the words the
// editor uses for it.
struct FileFailure {
  QString file;
  QString reason;
  bool operator==(const FileFailure&) const = default;
};

FileFailure archiveFailure(const QString& file, const ArchiveError& error);
// A fault of the portrait image, named as the part of file it lies in.
FileFailure portraitFailure(const QString& file, const fsh::Error& error);
