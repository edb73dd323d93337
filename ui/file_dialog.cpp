#include "ui/file_dialog.h"

namespace ui {

FileDialog::FileDialog(std::unique_ptr<FileDialogBackend> backend)
    : m_backend(std::move(backend)) {}

Expected<std::optional<QString>, CommandFailure> FileDialog::show(DialogKind kind) {
  m_settings.kind = kind;
  auto chosen = m_backend->show(m_settings);
  if (chosen && chosen->has_value()) m_settings.fileName = **chosen;
  return chosen;
}

Expected<std::optional<QString>, CommandFailure> FileDialog::showFolder(
    const QString& title, const QString& startFolder) {
  DialogRequest request;
  request.kind = DialogKind::Folder;
  request.title = title;
  request.fileName = startFolder;
  return showOnce(request);
}

}  // namespace ui
