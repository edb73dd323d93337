#pragma once

#include <QDialog>

class QPushButton;

namespace ui {

// The About window: product name and version, a credit line, a contact line
// and the OK button, which Enter and Esc also press.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 259;
  static constexpr int ClientHeight = 130;

  explicit AboutDialog(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* m_okButton = nullptr;
};

}  // namespace ui
