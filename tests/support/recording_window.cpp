#include "support/recording_window.h"

namespace {
QString boxName(ui::IdentifierBox box) {
  return box == ui::IdentifierBox::PlayerPackage ? "playerPackageEdit" : "jerseyNameEdit";
}
}  // namespace

void RecordingWindow::setIdentifierText(ui::IdentifierBox box, const QString& value) {
  text[index(box)] = value;
  calls << boxName(box) + " text " + value;
}

void RecordingWindow::setIdentifierEnabled(ui::IdentifierBox box, bool value) {
  enabled[index(box)] = value;
  calls << boxName(box) + (value ? " enabled" : " disabled");
}

void RecordingWindow::setSizeText(const QString& value) {
  sizeText = value;
  calls << "size " + value;
}

void RecordingWindow::setMousePointer(ui::MousePointer value) {
  pointer = value;
  calls << (value == ui::MousePointer::Hourglass ? "pointer hourglass" : "pointer default");
}

void RecordingWindow::enableFileButtons(bool value) {
  fileButtons = value;
  calls << (value ? "file buttons enabled" : "file buttons disabled");
}

void RecordingWindow::showMessage(const QString& message, const QString& caption,
                                  ui::MessageStyle style) {
  messages.push_back({message, caption, style});
  calls << "message " + message + "|" + caption;
}

std::optional<portrait::ImportSettings> RecordingWindow::askPictureImport(
    portrait::PictureImport& import) {
  calls << "picture dialog " + import.pictureName();
  return pictureImport.ask(import);
}

void RecordingWindow::showLoaded(ui::IdentifierBox box, const QString& identifier,
                                 const QString& size) {
  const ui::IdentifierBox other = box == ui::IdentifierBox::PlayerPackage
                                      ? ui::IdentifierBox::Jersey
                                      : ui::IdentifierBox::PlayerPackage;
  text[index(box)] = identifier;
  enabled[index(box)] = true;
  text[index(other)].clear();
  enabled[index(other)] = false;
  sizeText = size;
  fileButtons = true;
}
