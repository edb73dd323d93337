#include "ui/file_command.h"

#include <QCoreApplication>

#include "portrait/input_file.h"
#include "ui/command_routines.h"

namespace ui {

namespace {

const QString ArchiveFilter =
    QCoreApplication::translate("FileCommand", "BIG archives (*.big)|*.big");
// FSH images first, as the default; then every picture Import reads.
QString importFilter() {
  QStringList patterns;
  for (const QByteArray& format : portrait::pictureFormats())
    patterns << QStringLiteral("*.") + QString::fromLatin1(format);
  return QCoreApplication::translate("FileCommand", "FSH files (*.fsh)|*.fsh|Pictures (%1)|%2")
      .arg(patterns.join(QLatin1Char(' ')), patterns.join(QLatin1Char(';')));
}
const QString ExportFilter = QStringLiteral(
    "FSH files (*.fsh)|*.fsh|PNG pictures (*.png)|*.png|BMP pictures (*.bmp)|*.bmp|"
    "JPEG pictures (*.jpg *.jpeg)|*.jpg;*.jpeg");

QString currentArchive(const WindowState& state) { return state.archivePath; }
QString anyImageFile(const WindowState&) { return QStringLiteral("*.fsh"); }

}  // namespace

const FileCommand& loadCommand() {
  static const FileCommand command{DialogKind::Open,
                                   nullptr,
                                   ArchiveFilter,
                                   QStringLiteral(".big"),
                                   QCoreApplication::translate("FileCommand", "Load File"),
                                   DialogFlags::HideReadOnly,
                                   &WindowState::archivePath,
                                   &loadArchiveInto};
  return command;
}

const FileCommand& saveCommand() {
  static const FileCommand command{DialogKind::Save,
                                   &currentArchive,
                                   ArchiveFilter,
                                   QStringLiteral(".big"),
                                   QCoreApplication::translate("FileCommand", "Save"),
                                   DialogFlags::OverwritePrompt,
                                   &WindowState::savePath,
                                   &saveArchiveFrom};
  return command;
}

const FileCommand& importCommand() {
  static const FileCommand command{DialogKind::Open,
                                   nullptr,
                                   importFilter(),
                                   QStringLiteral(".fsh"),
                                   QCoreApplication::translate("FileCommand", "Import"),
                                   DialogFlags::HideReadOnly,
                                   &WindowState::importPath,
                                   &importPortraitInto};
  return command;
}

const FileCommand& exportCommand() {
  static const FileCommand command{DialogKind::Save,
                                   &anyImageFile,
                                   ExportFilter,
                                   QStringLiteral(".fsh"),
                                   QCoreApplication::translate("FileCommand", "Export"),
                                   DialogFlags::OverwritePrompt,
                                   &WindowState::exportPath,
                                   &exportPortraitFrom};
  return command;
}

bool runFileCommand(EditorWindow& window, FileDialog& dialog, const FileCommand& command) {
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
    return false;
  }
  if (!chosen->has_value()) return false;  // cancelled

  QString& path = window.state().*command.pathVariable;
  const QString previous = path;
  if (!chosen->value().isEmpty()) path = chosen->value();
  if (command.routine(window)) return true;
  path = previous;
  return false;
}

}  // namespace ui
