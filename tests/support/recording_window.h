#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "archive/editor_window.h"
#include "support/qt_printers.h"

struct RecordedMessage {
  QString Text;
  QString Caption;
  MessageStyle Style;
  bool operator==(const RecordedMessage&) const = default;
};

inline void PrintTo(const RecordedMessage& m, std::ostream* os) {
  *os << '"' << m.Text.toStdString() << "\" / \"" << m.Caption.toStdString() << "\" style "
      << static_cast<int>(m.Style);
}

// An EditorWindow that keeps the state of its controls and every call in order.
class RecordingWindow : public EditorWindow {
 public:
  QString IdentifierText(IdentifierBox box) const override { return text[Index(box)]; }
  void SetIdentifierText(IdentifierBox box, const QString& value) override;
  void SetIdentifierEnabled(IdentifierBox box, bool value) override;
  void SetShowsize(const QString& caption) override;
  void SetMousePointer(MousePointer value) override;
  void EnableFileButtons(bool value) override;
  void ShowMessage(const QString& text, const QString& caption, MessageStyle style) override;

  // Fills the controls as a successful load of a player package would.
  void ShowLoaded(IdentifierBox box, const QString& identifier, const QString& size);

  static int Index(IdentifierBox box) { return box == IdentifierBox::pkgtxt ? 0 : 1; }

  QString text[2];
  bool enabled[2] = {false, false};
  QString showsize;
  MousePointer pointer = MousePointer::Default;
  bool fileButtons = false;
  std::vector<RecordedMessage> messages;
  QStringList calls;  // e.g. "pointer 11", "message Unknown Format|Error"
};
