#pragma once

#include <QString>

// The paths a file command works on. They keep their last values until the
// program ends.
struct WindowState {
  QString ArchivePath;  // the current archive: the last one that loaded, or was saved
  QString SavePath;
  QString ImportPath;
  QString ExportPath;
};

enum class IdentifierBox { pkgtxt, jrsytxt };

enum class MousePointer { Default = 0, Hourglass = 11 };

enum class MessageStyle { Plain = 0, Critical = 16 };

// The window operations the archive routines use. The main window implements
// them; tests implement them with a recorder.
class EditorWindow {
 public:
  virtual ~EditorWindow() = default;

  virtual QString IdentifierText(IdentifierBox box) const = 0;
  virtual void SetIdentifierText(IdentifierBox box, const QString& text) = 0;
  virtual void SetIdentifierEnabled(IdentifierBox box, bool enabled) = 0;
  virtual void SetShowsize(const QString& caption) = 0;
  virtual void SetMousePointer(MousePointer pointer) = 0;
  // Save, Import and Export together.
  virtual void EnableFileButtons(bool enabled) = 0;
  // Returns when the user has closed the box.
  virtual void ShowMessage(const QString& text, const QString& caption, MessageStyle style) = 0;

  WindowState& State() { return state_; }
  const WindowState& State() const { return state_; }

 private:
  WindowState state_;
};
