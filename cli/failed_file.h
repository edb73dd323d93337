#pragma once

#include <QString>

#include "archive/archive_error.h"

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
