#pragma once

#include <QList>
#include <QString>

#include "archive/editor_window.h"
#include "ui/com_dlg.h"

// One file command: how its dialog is set up, where the chosen file goes and
// which archive routine runs on it.
struct FileCommand {
  DialogKind Kind;
  // The dialog's preset file name; null when the command presets none.
  QString (*InitialFileName)(const WindowState& state);
  QString Filter;
  QString DefaultExt;
  QString DialogTitle;
  QList<int> Flags;  // assigned in order; the last one holds
  QString WindowState::*PathVariable;
  // Returns false when it refused the chosen file; the path variable then gets
  // its previous value back.
  bool (*Routine)(EditorWindow& window);
};

const FileCommand& LoadCommand();
const FileCommand& SaveCommand();
const FileCommand& ImportCommand();
const FileCommand& ExportCommand();

// Shows the command's dialog, stores the chosen path and runs the routine. A
// runtime failure anywhere in it is reported by ReportCommandError; a cancelled
// dialog ends the command silently.
void RunFileCommand(EditorWindow& window, ComDlg& dialog, const FileCommand& command);
