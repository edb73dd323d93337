#pragma once

#include <iosfwd>
#include <variant>

#include "cli/command_request.h"
#include "cli/exit_status.h"

namespace cli {

// Parses the arguments of courtside-portraits-cli. Help and the version are
// written to out and end with Success; a usage error is explained on err
// (with a pointer to --help) and ends with UsageError. Any other command line
// gives the request it makes.
std::variant<CommandLine, ExitStatus> parseCommandLine(int argc, const char* const* argv,
                                                       std::ostream& out, std::ostream& err);

}  // namespace cli
