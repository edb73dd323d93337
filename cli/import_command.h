#pragma once

#include "cli/command_request.h"
#include "cli/exit_status.h"

namespace cli {

class Console;

// Puts an FSH image, as Import in the editor does, or a picture made into the
// portrait's own format, in place of the archive's portrait; or with a folder,
// the file of the folder named after each archive.
ExitStatus runImport(const ImportRequest& request, bool dryRun, Console& console);

}  // namespace cli
