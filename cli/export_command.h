#pragma once

#include "cli/command_request.h"
#include "cli/exit_status.h"

namespace cli {

class Console;

// Writes each archive's portrait image: as FSH bytes, as Export in the editor
// writes them, or decoded as a picture.
ExitStatus runExport(const ExportRequest& request, bool dryRun, Console& console);

}  // namespace cli
