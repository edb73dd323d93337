#include "ui/file_command.h"

#include "archive/command_error.h"
#include "archive/load_archive.h"
#include "archive/portrait_image.h"
#include "archive/save_archive.h"

namespace {

const QString BigFilter = QStringLiteral("EASports BIG Files (*.big)|*.big");
const QString FshFilter = QStringLiteral("FSH files (*.fsh)|*.fsh");

QString CurrentArchive(const WindowState& state) { return state.ArchivePath; }
QString AnyFshFile(const WindowState&) { return QStringLiteral("*.fsh"); }

}  // namespace

const FileCommand& LoadCommand() {
  static const FileCommand command{DialogKind::Open,
                                   nullptr,
                                   BigFilter,
                                   QStringLiteral(".big"),
                                   QStringLiteral("Load File"),
                                   {OfnHideReadOnly},
                                   &WindowState::ArchivePath,
                                   &LoadArchive};
  return command;
}

const FileCommand& SaveCommand() {
  static const FileCommand command{DialogKind::Save,
                                   &CurrentArchive,
                                   BigFilter,
                                   QStringLiteral(".big"),
                                   QStringLiteral("Save"),
                                   {OfnHideReadOnly, OfnOverwritePrompt},
                                   &WindowState::SavePath,
                                   &SaveArchive};
  return command;
}

const FileCommand& ImportCommand() {
  static const FileCommand command{DialogKind::Open,
                                   nullptr,
                                   FshFilter,
                                   QStringLiteral(".fsh"),
                                   QStringLiteral("Import"),
                                   {OfnHideReadOnly},
                                   &WindowState::ImportPath,
                                   &ImportPortrait};
  return command;
}

const FileCommand& ExportCommand() {
  static const FileCommand command{DialogKind::Save,
                                   &AnyFshFile,
                                   FshFilter,
                                   QStringLiteral(".fsh"),
                                   QStringLiteral("Export"),
                                   {OfnHideReadOnly, OfnOverwritePrompt},
                                   &WindowState::ExportPath,
                                   &ExportPortrait};
  return command;
}

void RunFileCommand(EditorWindow& window, ComDlg& dialog, const FileCommand& command) {
  try {
    if (command.InitialFileName) dialog.FileName = command.InitialFileName(window.State());
    dialog.CancelError = true;
    dialog.Filter = command.Filter;
    dialog.DefaultExt = command.DefaultExt;
    dialog.DialogTitle = command.DialogTitle;
    dialog.FilterIndex = 1;
    for (const int flags : command.Flags) dialog.Flags = flags;
    if (command.Kind == DialogKind::Open)
      dialog.ShowOpen();
    else
      dialog.ShowSave();

    QString& path = window.State().*command.PathVariable;
    const QString previous = path;
    if (!dialog.FileName.isEmpty()) path = dialog.FileName;
    if (!command.Routine(window)) path = previous;
  } catch (const CommandError& error) {
    ReportCommandError(window, error);
  }
}
