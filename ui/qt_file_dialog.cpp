#include "ui/qt_file_dialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

#include "ui/user_text.h"

namespace ui {

QString firstSuffix(const QString& filter, int index) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  const qsizetype at = qsizetype(index) * 2 + 1;
  if (index < 0 || at >= parts.size()) return {};
  const QString first = parts[at].section(QLatin1Char(';'), 0, 0).trimmed();
  if (!first.startsWith(QStringLiteral("*.")) || first.indexOf(QLatin1Char('*'), 1) >= 0) return {};
  return first.mid(2);
}

QStringList qtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList names;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    names << (description.contains(QLatin1Char('('))
                  ? description
                  : description + QCoreApplication::translate("FileDialog", " (") + pattern +
                        QLatin1Char(')'));
  }
  return names;
}

Expected<std::optional<QString>, CommandFailure> QtFileDialogBackend::show(
    const DialogRequest& request) {
  QFileDialog dialog(m_parent, request.title);
  if (request.kind == DialogKind::Folder) {
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!request.fileName.isEmpty()) dialog.setDirectory(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
      return std::optional<QString>();
    return std::optional<QString>(dialog.selectedFiles().constFirst());
  }
  const QStringList filters = qtNameFilters(request.filter);
  dialog.setNameFilters(filters);
  if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[request.filterIndex - 1]);
  QString suffix = request.defaultExt;
  if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (request.kind == DialogKind::Save) {
    // A name typed without a suffix gets the one of the chosen filter: "face"
    // under "PNG pictures" becomes face.png, not face.fsh.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &filters, &request](const QString& selected) {
                       const QString suffix =
                           firstSuffix(request.filter, static_cast<int>(filters.indexOf(selected)));
                       if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
                     });
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Asked below, as plain text: Qt's own question shows the name as rich text.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  // A wildcard preset such as "*.fsh" names no file; the filter already shows it.
  if (!request.fileName.isEmpty() && !request.fileName.contains(QLatin1Char('*'))) {
    const QFileInfo preset(request.fileName);
    if (preset.dir().exists()) dialog.setDirectory(preset.absolutePath());
    dialog.selectFile(preset.fileName());
  }
  const bool confirm =
      request.kind == DialogKind::Save && (request.flags & DialogFlags::OverwritePrompt);
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
      return std::optional<QString>();
    const QString chosen = dialog.selectedFiles().constFirst();
    if (!confirm || !QFileInfo::exists(chosen)) return std::optional<QString>(chosen);
    // Qt's words, in its translation where one is loaded; No leaves the dialog
    // open, as Qt's question does.
    const QString question =
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(isolatedUserText(QFileInfo(chosen).fileName()));
    if (m_ask(question, dialog.windowTitle())) return std::optional<QString>(chosen);
  }
}

}  // namespace ui
