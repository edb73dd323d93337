#pragma once

#include <QString>
#include <optional>

#include "archive/import_undo.h"
#include "portrait/picture_import.h"

namespace ui {

// The paths the file commands work on. They keep their last values until the
// program ends.
struct WindowState {
  QString archivePath;  // the current archive: the last one that loaded, or was saved
  QString savePath;
  QString importPath;
  QString exportPath;
};

// The two identifier boxes, one for each kind of archive.
enum class IdentifierBox { PlayerPackage, Jersey };

enum class MousePointer { Default, Hourglass };

// A plain box, or the critical-error box of a runtime failure.
enum class MessageStyle { Plain, Critical };

// What the file commands do to the window. The main window implements it;
// tests implement it with a recorder.
class EditorWindow {
 public:
  virtual ~EditorWindow() = default;

  virtual QString identifierText(IdentifierBox box) const = 0;
  virtual void setIdentifierText(IdentifierBox box, const QString& text) = 0;
  virtual void setIdentifierEnabled(IdentifierBox box, bool enabled) = 0;
  virtual void setSizeText(const QString& text) = 0;
  virtual void setMousePointer(MousePointer pointer) = 0;
  // Save, Import and Export together.
  virtual void enableFileButtons(bool enabled) = 0;
  // Returns when the user has closed the box.
  virtual void showMessage(const QString& text, const QString& caption, MessageStyle style) = 0;
  // Shows the picture as it would become the portrait and lets the user choose
  // how; nothing when the user cancelled. Returns when the user has decided.
  virtual std::optional<portrait::ImportSettings> askPictureImport(
      portrait::PictureImport& import) = 0;

  WindowState& state() { return m_state; }
  const WindowState& state() const { return m_state; }
  // The imports into the current archive, for Undo.
  archive::ImportHistory& importHistory() { return m_importHistory; }
  const archive::ImportHistory& importHistory() const { return m_importHistory; }

 private:
  WindowState m_state;
  archive::ImportHistory m_importHistory;
};

}  // namespace ui
