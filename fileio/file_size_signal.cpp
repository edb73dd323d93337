#include "fileio/file_size_signal.h"

#include <csignal>

namespace fileio {

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace fileio
