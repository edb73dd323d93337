#pragma once

#include <QWidget>
#include <memory>

#include "archive/editor_window.h"
#include "ui/com_dlg.h"
#include "ui/message_box.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The main window: its controls, the window state the archive routines work
// on, and the handlers of every user action.
class ShapedForm : public QWidget, public EditorWindow {
  Q_OBJECT

 public:
  // Without backends the window shows the real file dialog and message boxes.
  explicit ShapedForm(std::unique_ptr<FileDialogBackend> dialogs = nullptr,
                      std::unique_ptr<MessageBoxBackend> messages = nullptr,
                      QWidget* parent = nullptr);
  ~ShapedForm() override;

  QString IdentifierText(IdentifierBox box) const override;
  void SetIdentifierText(IdentifierBox box, const QString& text) override;
  void SetIdentifierEnabled(IdentifierBox box, bool enabled) override;
  void SetShowsize(const QString& caption) override;
  void SetMousePointer(MousePointer pointer) override;
  void EnableFileButtons(bool enabled) override;
  void ShowMessage(const QString& text, const QString& caption, MessageStyle style) override;

  ComDlg& Dialog() { return comDlg_; }

 private slots:
  void Load_Click();
  void Save_Click();
  void Import_Click();
  void Export_Click();
  void About_Click();

 private:
  void Form_Load();
  void CreateControls();
  QLineEdit* Box(IdentifierBox box) const;

  ComDlg comDlg_;
  std::unique_ptr<MessageBoxBackend> messages_;
  bool hourglass_ = false;

  QLabel* playerpkg = nullptr;
  QLineEdit* pkgtxt = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* jrsytxt = nullptr;
  QLabel* Filesize = nullptr;
  QLabel* Showsize = nullptr;
  QPushButton* Load = nullptr;
  QPushButton* Save = nullptr;
  QPushButton* Import = nullptr;
  QPushButton* Export = nullptr;
  QPushButton* About = nullptr;
  QLabel* Minimized = nullptr;
  QLabel* Exit = nullptr;
};
