#pragma once

#include <QString>

#include "ui/editor_window.h"
#include "ui/file_dialog.h"

namespace ui {

// One file command: how its dialog is set up, where the chosen file goes and
// which routine runs on it.
struct FileCommand {
  DialogKind kind;
  // The dialog's preset file name; null when the command presets none.
  QString (*initialFileName)(const WindowState& state);
  QString filter;
  QString defaultExt;
  QString title;
  int flags;
  QString WindowState::*pathVariable;
  // Returns false when it refused the chosen file; the path variable then gets
  // its previous value back.
  bool (*routine)(EditorWindow& window);
};

const FileCommand& loadCommand();
const FileCommand& saveCommand();
const FileCommand& importCommand();
const FileCommand& exportCommand();

// Shows the command's dialog, stores the chosen path and runs the routine. A
// cancelled dialog ends the command silently; a failing one is reported.
// Returns whether the routine ran and did its work.
bool runFileCommand(EditorWindow& window, FileDialog& dialog, const FileCommand& command);

}  // namespace ui
