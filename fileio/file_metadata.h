#pragma once

#include <sys/stat.h>

#include <QByteArray>
#include <QString>

#include "common/expected.h"
#include "fileio/file_error.h"

namespace fileio {

// Gives the file open as target what the file at sourcePath has beside its
// content: owner and group, mode, and extended attributes (access control
// lists among them), as far as the system lets this process set them. An
// owner or group this process may not give, or an attribute it may not set
// or the target's file system cannot hold, is left as it is; any other
// failure is reported. source is what stat said of the file at sourceLocation
// (a path that reaches it, such as one through an open folder's descriptor);
// the file it replaces is target, which targetPath names in every error.
Expected<void, FileError> copyFileMetadata(const QByteArray& sourceLocation,
                                           const struct stat& source, int target,
                                           const QString& targetPath);

}  // namespace fileio
