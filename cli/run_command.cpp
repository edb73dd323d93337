#include "cli/run_command.h"

#include "cli/console.h"
#include "cli/export_command.h"
#include "cli/import_command.h"
#include "cli/info_command.h"
#include "cli/set_id_command.h"
#include "cli/thumbnail_command.h"

namespace cli {

ExitStatus runCommand(const CommandLine& commandLine, Console& console) {
  const bool dryRun = commandLine.dryRun;
  return std::visit(
      [&](const auto& request) {
        using Request = std::decay_t<decltype(request)>;
        if constexpr (std::is_same_v<Request, InfoRequest>)
          return runInfo(request, console);
        else if constexpr (std::is_same_v<Request, SetIdRequest>)
          return runSetId(request, dryRun, console);
        else if constexpr (std::is_same_v<Request, ExportRequest>)
          return runExport(request, dryRun, console);
        else if constexpr (std::is_same_v<Request, ImportRequest>)
          return runImport(request, dryRun, console);
        else
          return runThumbnail(request, dryRun, console);
      },
      commandLine.request);
}

}  // namespace cli
