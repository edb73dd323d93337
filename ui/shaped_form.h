#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "archive/editor_window.h"
#include "ui/com_dlg.h"
#include "ui/form_region.h"
#include "ui/message_box.h"

class HotSpot;
class QLabel;
class QLineEdit;
class QPushButton;

// The main window: its controls, the window state the archive routines work
// on, and the handlers of every user action. It has no frame: the skin draws
// its surface, a region cut to the skin gives its outline, and a press on the
// bare surface moves it.
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

  // The outline the window was given when it loaded; empty if it could not be
  // computed for this screen.
  const QRegion& Shape() const { return formRegion_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private slots:
  void Load_Click();
  void Save_Click();
  void Import_Click();
  void Export_Click();
  void About_Click();
  void Minimized_Click();
  void Exit_Click();

 private:
  void Form_Load();
  void Form_MouseDown(QMouseEvent* event);
  void CreateControls();
  QLineEdit* Box(IdentifierBox box) const;

  ComDlg comDlg_;
  std::unique_ptr<MessageBoxBackend> messages_;
  bool hourglass_ = false;
  TwipsPerPixel screenTwips_;
  QRegion formRegion_;

  // The window following the pointer, where the window system offers no move
  // of its own.
  struct Drag {
    Qt::MouseButton Button = Qt::NoButton;
    QPointF PressedAt;  // global
    QPoint WindowAt;
  };
  std::optional<Drag> drag_;

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
  HotSpot* Minimized = nullptr;
  HotSpot* Exit = nullptr;
};
