#pragma once

#include "cli/command_request.h"
#include "cli/exit_status.h"

namespace cli {

class Console;

// Saves each source archive as its target under a new identifier, with Save's
// checks and refusals; the archive keeps its kind. A refused or failed archive
// leaves its target untouched, and the others are still saved.
ExitStatus runSetId(const SetIdRequest& request, bool dryRun, Console& console);

}  // namespace cli
