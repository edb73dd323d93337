#include "ui/com_dlg.h"

#include "archive/command_error.h"

ComDlg::ComDlg(std::unique_ptr<FileDialogBackend> backend) : backend_(std::move(backend)) {}

void ComDlg::ShowOpen() { Show(DialogKind::Open); }

void ComDlg::ShowSave() { Show(DialogKind::Save); }

void ComDlg::Show(DialogKind kind) {
  const DialogRequest request{kind, FileName, Filter, FilterIndex, DefaultExt, DialogTitle, Flags};
  const std::optional<QString> chosen = backend_->Show(request);
  if (!chosen) {
    if (CancelError) throw CommandError(CancelErrorNumber, QStringLiteral("Cancel was selected"));
    return;
  }
  FileName = *chosen;
}
