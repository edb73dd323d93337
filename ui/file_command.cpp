#include "ui/file_command.h"

#include "ui/command_routines.h"

namespace {

const QString ArchiveFilter = QStringLiteral("BIG archives (*.big)|*.big");
const QString ImageFilter = QStringLiteral("FSH files (*.fsh)|*.fsh");

QString currentArchive(const WindowState& state) { return state.archivePath; }
QString anyImageFile(const WindowState&) { return QStringLiteral("*.fsh"); }

}  // namespace

const FileCommand& loadCommand() {
  static const FileCommand command{DialogKind::Open,
                                   nullptr,
                                   ArchiveFilter,
                                   QStringLiteral(".big"),
                                   QStringLiteral("Load File"),
                                   DialogFlags::HideReadOnly,
                                   &WindowState::archivePath,
                                   &loadArchiveInto};
  return command;
}

const FileCommand& saveCommand() {
  static const FileCommand command{DialogKind::Save,       &currentArchive,
                                   ArchiveFilter,          QStringLiteral(".big"),
                                   QStringLiteral("Save"), DialogFlags::OverwritePrompt,
                                   &WindowState::savePath, &saveArchiveFrom};
  return command;
}

const FileCommand& importCommand() {
  static const FileCommand command{DialogKind::Open,
                                   nullptr,
                                   ImageFilter,
                                   QStringLiteral(".fsh"),
                                   QStringLiteral("Import"),
                                   DialogFlags::HideReadOnly,
                                   &WindowState::importPath,
                                   &importPortraitInto};
  return command;
}

const FileCommand& exportCommand() {
  static const FileCommand command{DialogKind::Save,
                                   &anyImageFile,
                                   ImageFilter,
                                   QStringLiteral(".fsh"),
                                   QStringLiteral("Export"),
                                   DialogFlags::OverwritePrompt,
                                   &WindowState::exportPath,
                                   &exportPortraitFrom};
  return command;
}

void runFileCommand(EditorWindow& window, FileDialog& dialog, const FileCommand& command) {
  DialogRequest& settings = dialog.settings();
  if (command.initialFileName) settings.fileName = command.initialFileName(window.state());
  settings.filter = command.filter;
  settings.defaultExt = command.defaultExt;
  settings.title = command.title;
  settings.filterIndex = 1;
  settings.flags = command.flags;
  const auto chosen = dialog.show(command.kind);
  if (!chosen) {
    reportCommandFailure(window, chosen.error());
    return;
  }
  if (!chosen->has_value()) return;  // cancelled

  QString& path = window.state().*command.pathVariable;
  const QString previous = path;
  if (!chosen->value().isEmpty()) path = chosen->value();
  if (!command.routine(window)) path = previous;
}
