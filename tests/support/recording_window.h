#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "support/qt_printers.h"
#include "support/scripted_picture_import.h"
#include "ui/editor_window.h"

struct RecordedMessage {
  QString text;
  QString caption;
  ui::MessageStyle style;
  bool operator==(const RecordedMessage&) const = default;
};

inline void PrintTo(const RecordedMessage& m, std::ostream* os) {
  *os << '"' << m.text.toStdString() << "\" / \"" << m.caption.toStdString() << "\" "
      << (m.style == ui::MessageStyle::Critical ? "critical" : "plain");
}

// An EditorWindow that keeps the state of its controls and every call in order.
class RecordingWindow : public ui::EditorWindow {
 public:
  QString identifierText(ui::IdentifierBox box) const override { return text[index(box)]; }
  void setIdentifierText(ui::IdentifierBox box, const QString& value) override;
  void setIdentifierEnabled(ui::IdentifierBox box, bool value) override;
  void setSizeText(const QString& value) override;
  void setMousePointer(ui::MousePointer value) override;
  void enableFileButtons(bool value) override;
  void showMessage(const QString& text, const QString& caption, ui::MessageStyle style) override;
  std::optional<portrait::ImportSettings> askPictureImport(
      portrait::PictureImport& import) override;

  // Fills the controls as a successful load would.
  void showLoaded(ui::IdentifierBox box, const QString& identifier, const QString& size);

  static int index(ui::IdentifierBox box) {
    return box == ui::IdentifierBox::PlayerPackage ? 0 : 1;
  }

  QString text[2];  // player package, jersey
  bool enabled[2] = {false, false};
  QString sizeText;
  ui::MousePointer pointer = ui::MousePointer::Default;
  bool fileButtons = false;
  std::vector<RecordedMessage> messages;
  ScriptedPictureImport pictureImport;
  QStringList calls;  // e.g. "pointer hourglass", "message Unknown Format|Error"
};
