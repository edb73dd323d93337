#include "ui/qt_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList names;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString pattern = parts[i + 1];
    names << (description.contains(QLatin1Char('('))
                  ? description
                  : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
  }
  return names;
}

std::optional<QString> QtFileDialogBackend::Show(const DialogRequest& request) {
  QFileDialog dialog(parent_, request.DialogTitle);
  const QStringList filters = QtNameFilters(request.Filter);
  dialog.setNameFilters(filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
    dialog.selectNameFilter(filters[request.FilterIndex - 1]);
  QString suffix = request.DefaultExt;
  if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (request.Kind == DialogKind::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!(request.Flags & OfnOverwritePrompt))
      dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  // A wildcard preset such as "*.fsh" names no file; the filter already shows it.
  if (!request.FileName.isEmpty() && !request.FileName.contains(QLatin1Char('*'))) {
    const QFileInfo preset(request.FileName);
    if (preset.dir().exists()) dialog.setDirectory(preset.absolutePath());
    dialog.selectFile(preset.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}
