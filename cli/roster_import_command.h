#pragma once

#include "cli/command_request.h"
#include "cli/exit_status.h"

namespace cli {

class Console;

// import --from DIR: each archive takes the picture or FSH image of the folder
// named after it; the pictures are made into portraits on every core, and the
// archives are written as one batch.
ExitStatus runRosterImport(const ImportRequest& request, bool dryRun, Console& console);

}  // namespace cli
