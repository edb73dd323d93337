#pragma once

#include <QString>
#include <memory>
#include <optional>

// Open-file-name flags.
inline constexpr int OfnOverwritePrompt = 2;
inline constexpr int OfnHideReadOnly = 4;

enum class DialogKind { Open, Save };

// What a file dialog is shown with.
struct DialogRequest {
  DialogKind Kind = DialogKind::Open;
  QString FileName;
  QString Filter;  // "Description (*.ext)|*.ext"
  int FilterIndex = 0;
  QString DefaultExt;
  QString DialogTitle;
  int Flags = 0;
};

// Shows a file dialog: the real one, or scripted answers in tests. Returns the
// chosen file name, or nothing when the user cancelled. A failure of the dialog
// itself is thrown as CommandError.
class FileDialogBackend {
 public:
  virtual ~FileDialogBackend() = default;
  virtual std::optional<QString> Show(const DialogRequest& request) = 0;
};

// The one file dialog that all four file commands share. Its properties keep
// their values from one use to the next.
class ComDlg {
 public:
  explicit ComDlg(std::unique_ptr<FileDialogBackend> backend);

  QString FileName;
  bool CancelError = false;
  QString Filter;
  int FilterIndex = 0;
  QString DefaultExt;
  QString DialogTitle;
  int Flags = 0;

  // With CancelError set, a cancel throws CommandError(CancelErrorNumber).
  void ShowOpen();
  void ShowSave();

 private:
  void Show(DialogKind kind);

  std::unique_ptr<FileDialogBackend> backend_;
};
