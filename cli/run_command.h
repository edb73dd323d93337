#pragma once

#include "cli/command_request.h"
#include "cli/exit_status.h"

namespace cli {

class Console;

// Carries out a parsed command line.
ExitStatus runCommand(const CommandLine& commandLine, Console& console);

}  // namespace cli
