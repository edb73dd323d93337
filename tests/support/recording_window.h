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
  MessageStyle style;
  bool operator==(const RecordedMessage&) const = default;
};

inline void PrintTo(const RecordedMessage& m, std::ostream* os) {
  *os << '"' << m.text.toStdString() << "\" / \"" << m.caption.toStdString() << "\" "
      << (m.style == MessageStyle::Critical ? "critical" : "plain");
}

// An EditorWindow that keeps the state of its controls and every call in order.
class RecordingWindow : public EditorWindow {
 public:
  QString identifierText(IdentifierBox box) const override { return text[index(box)]; }
  void setIdentifierText(IdentifierBox box, const QString& value) override;
  void setIdentifierEnabled(IdentifierBox box, bool value) override;
  void setSizeText(const QString& value) override;
  void setMousePointer(MousePointer value) override;
  void enableFileButtons(bool value) override;
  void showMessage(const QString& text, const QString& caption, MessageStyle style) override;
  std::optional<portrait::ImportSettings> askPictureImport(
      portrait::PictureImport& import) override;

  // Fills the controls as a successful load would.
  void showLoaded(IdentifierBox box, const QString& identifier, const QString& size);

  static int index(IdentifierBox box) { return box == IdentifierBox::PlayerPackage ? 0 : 1; }

  QString text[2];  // player package, jersey
  bool enabled[2] = {false, false};
  QString sizeText;
  MousePointer pointer = MousePointer::Default;
  bool fileButtons = false;
  std::vector<RecordedMessage> messages;
  ScriptedPictureImport pictureImport;
  QStringList calls;  // e.g. "pointer hourglass", "message Unknown Format|Error"
};
