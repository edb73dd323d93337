#pragma once

namespace cli {

// What the command line's exit status tells a script.
enum class ExitStatus {
  Success = 0,     // every file was done
  FileFailed = 1,  // at least one file was refused or failed; the others were done
  UsageError = 2,  // the command line itself was wrong: nothing was done
};

inline int exitCode(ExitStatus status) { return static_cast<int>(status); }

}  // namespace cli
