#pragma once

#include <QString>

#include "archive/archive_error.h"

namespace cli {

// The command line's words for the archive layer's refusals and failures, as
// they follow "<file>: " on standard error.
QString describe(const archive::ArchiveError& error);

}  // namespace cli
