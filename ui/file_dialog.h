#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "common/expected.h"
#include "ui/messages.h"

namespace ui {

// The flags a file dialog is shown with.
namespace DialogFlags {
inline constexpr int OverwritePrompt = 2;  // ask before overwriting an existing file
inline constexpr int HideReadOnly = 4;     // no read-only check box
}  // namespace DialogFlags

// Folder chooses a folder; its fileName is the folder it opens in.
enum class DialogKind { Open, Save, Folder };

// What a file dialog is shown with.
struct DialogRequest {
  DialogKind kind = DialogKind::Open;
  QString fileName;
  QString filter;  // "Description (*.ext)|*.ext"
  int filterIndex = 0;
  QString defaultExt;
  QString title;
  int flags = 0;
};

// Shows a file dialog: the real one, or scripted answers in tests. Answers the
// chosen file name, nothing when the user cancelled, or the dialog's own failure.
class FileDialogBackend {
 public:
  virtual ~FileDialogBackend() = default;
  virtual Expected<std::optional<QString>, CommandFailure> show(const DialogRequest& request) = 0;
};

// The one file dialog that all four file commands share. Its settings keep
// their values from one use to the next: a command that presets no file name
// gets the one the previous dialog returned, or was shown with if it was
// cancelled.
class FileDialog {
 public:
  explicit FileDialog(std::unique_ptr<FileDialogBackend> backend);

  // The settings the next dialog is shown with; kind is given to show().
  DialogRequest& settings() { return m_settings; }
  const DialogRequest& settings() const { return m_settings; }

  Expected<std::optional<QString>, CommandFailure> show(DialogKind kind);
  // A dialog of its own, for a choice that is no file command's: the shared
  // settings stay as they are.
  Expected<std::optional<QString>, CommandFailure> showOnce(const DialogRequest& request) {
    return m_backend->show(request);
  }
  // A folder dialog opening in startFolder; the file dialog's settings are
  // left as they are.
  Expected<std::optional<QString>, CommandFailure> showFolder(const QString& title,
                                                              const QString& startFolder);

 private:
  std::unique_ptr<FileDialogBackend> m_backend;
  DialogRequest m_settings;
};

}  // namespace ui
