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

// Import and export each read one file and write another; a refusal or
// failure is reported for the file it concerns. The core's errors tell which
// by their kind, and a system error by the path it carries where it has one.

// The file a failure of prepareImportPortrait or prepareImportPortraitBytes
// concerns: the image file for faults of the image and for failures to open
// it, the archive for everything else.
QString importFailureFile(const ArchiveError& error, const QString& archive, const QString& image);

// The file a failure of prepareExportPortrait concerns: the archive for faults
// of the archive and failures to read it, the output for failures to write it.
QString exportFailureFile(const ArchiveError& error, const QString& archive, const QString& output);
