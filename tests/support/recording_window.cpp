#include "support/recording_window.h"

namespace {
QString BoxName(IdentifierBox box) { return box == IdentifierBox::pkgtxt ? "pkgtxt" : "jrsytxt"; }
}  // namespace

void RecordingWindow::SetIdentifierText(IdentifierBox box, const QString& value) {
  text[Index(box)] = value;
  calls << BoxName(box) + " text " + value;
}

void RecordingWindow::SetIdentifierEnabled(IdentifierBox box, bool value) {
  enabled[Index(box)] = value;
  calls << BoxName(box) + (value ? " enabled" : " disabled");
}

void RecordingWindow::SetShowsize(const QString& caption) {
  showsize = caption;
  calls << "Showsize " + caption;
}

void RecordingWindow::SetMousePointer(MousePointer value) {
  pointer = value;
  calls << QString("pointer %1").arg(static_cast<int>(value));
}

void RecordingWindow::EnableFileButtons(bool value) {
  fileButtons = value;
  calls << (value ? "file buttons enabled" : "file buttons disabled");
}

void RecordingWindow::ShowMessage(const QString& message, const QString& caption,
                                  MessageStyle style) {
  messages.push_back({message, caption, style});
  calls << "message " + message + "|" + caption;
}

void RecordingWindow::ShowLoaded(IdentifierBox box, const QString& identifier,
                                 const QString& size) {
  const IdentifierBox other =
      box == IdentifierBox::pkgtxt ? IdentifierBox::jrsytxt : IdentifierBox::pkgtxt;
  text[Index(box)] = identifier;
  enabled[Index(box)] = true;
  text[Index(other)].clear();
  enabled[Index(other)] = false;
  showsize = size;
  fileButtons = true;
}
