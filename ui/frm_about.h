#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About window: product name and version, a credit line, a contact line
// and the OK button, which Enter and Esc also press.
class frmAbout : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 259;
  static constexpr int ClientHeight = 130;

  explicit frmAbout(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private slots:
  void cmdOK_Click();

 private:
  void Form_Load();

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QPushButton* cmdOK = nullptr;
};
