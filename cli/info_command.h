#pragma once

#include "cli/command_request.h"
#include "cli/exit_status.h"

namespace cli {

class Console;

// Lists each archive, as text or as one JSON array. An archive the editor
// would refuse is reported on standard error with the reason, and left out;
// the others are still listed.
ExitStatus runInfo(const InfoRequest& request, Console& console);

}  // namespace cli
