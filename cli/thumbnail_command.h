#pragma once

#include "cli/command_request.h"
#include "cli/exit_status.h"

namespace cli {

class Console;

// Writes the portrait of an archive or FSH image as a small PNG picture, as a
// file manager's thumbnailer asks for it.
ExitStatus runThumbnail(const ThumbnailRequest& request, bool dryRun, Console& console);

}  // namespace cli
