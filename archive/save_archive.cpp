#include "archive/save_archive.h"

#include "archive/command_error.h"

bool SaveArchive(EditorWindow&) {
  throw CommandError(5, QStringLiteral("Saving is not available in this build"));
}
