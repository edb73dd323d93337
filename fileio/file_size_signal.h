#pragma once

namespace fileio {

// A write past the file-size limit (ulimit -f) raises SIGXFSZ, which ends the
// process unless it is ignored; ignored, the write fails with EFBIG and the
// file operations report it like any other failure, leaving the old file as
// it was. Every program that writes files through them calls this first.
void ignoreFileSizeSignal();

}  // namespace fileio
