#include "cli/import_command.h"

#include "cli/batch_run.h"
#include "cli/console.h"
#include "cli/file_writes.h"
#include "cli/portrait_input.h"
#include "cli/portrait_loader.h"
#include "cli/roster_import_command.h"
#include "portrait/service.h"

namespace cli {

ExitStatus runImport(const ImportRequest& request, bool dryRun, Console& console) {
  if (request.folder) return runRosterImport(request, dryRun, console);
  FileWrites writes(writeMode(dryRun, false), console);
  const PortraitInput input{request.archive, request.input, request.crop};
  switch (addPortraitInput(input, request.pictureChangesAsked, writes, console)) {
    case InputOutcome::UsageError:
      return ExitStatus::UsageError;
    case InputOutcome::Added:
    case InputOutcome::Failed:
      break;
    case InputOutcome::Picture: {
      const auto service = portraitService();
      if (!service) {
        console.failure(service.error());
        break;
      }
      if (!addImportedPicture(input,
                              (*service)->importPictureFile(
                                  request.archive, request.input,
                                  {request.fit, request.code, request.mipmapCount, request.crop}),
                              **service, writes, console))
        return ExitStatus::UsageError;
      break;
    }
  }
  return console.status();
}

}  // namespace cli
