#include "archive/portrait_image.h"

#include "archive/command_error.h"

bool ImportPortrait(EditorWindow& window) {
  ReportCommandError(window,
                     CommandError(5, QStringLiteral("Import is not available in this build")));
  return false;
}

bool ExportPortrait(EditorWindow& window) {
  ReportCommandError(window,
                     CommandError(5, QStringLiteral("Export is not available in this build")));
  return false;
}
