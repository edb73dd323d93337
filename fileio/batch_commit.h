#pragma once

#include <vector>

#include "common/expected.h"
#include "fileio/file_error.h"
#include "fileio/file_replacement.h"

namespace fileio {

// Commits many prepared replacements as one batch. Each would sync its own
// file on commit (one fdatasync a file, which dominates the time of many small
// writes); here each file system they lie on is synced once instead, before
// anything is renamed, and once more after, so that the new names are on disk
// too when this returns. Every safety property of a single commit holds for
// each file: a replacement that fails, or whose file system fails to sync,
// leaves its file as it was and no temporary file behind, and the others go
// on. The answer has one result per replacement, in their order; all of them
// are committed or given up when it returns.
std::vector<Expected<void, FileError>> commitTogether(std::vector<FileReplacement>& replacements);

}  // namespace fileio
