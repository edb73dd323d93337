#include "ui/shaped_form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>
#include <map>

#include "archive/application_title.h"
#include "archive/command_error.h"
#include "ui/file_command.h"
#include "ui/form_layout.h"
#include "ui/frm_about.h"
#include "ui/hot_spot.h"
#include "ui/qt_file_dialog.h"
#include "ui/skin.h"

namespace {

// Twips per pixel as whole numbers for placing the controls; the design value
// where the screen's cannot be used.
QPoint LayoutTwipsPerPixel(TwipsPerPixel screen) {
  try {
    return {RoundTwipsPerPixel(screen.X), RoundTwipsPerPixel(screen.Y)};
  } catch (const CommandError&) {
    return {FormLayout::DesignTwipsPerPixel, FormLayout::DesignTwipsPerPixel};
  }
}

}  // namespace

ShapedForm::ShapedForm(std::unique_ptr<FileDialogBackend> dialogs,
                       std::unique_ptr<MessageBoxBackend> messages, QWidget* parent)
    : QWidget(parent),
      comDlg_(dialogs ? std::move(dialogs) : std::make_unique<QtFileDialogBackend>(this)),
      messages_(messages ? std::move(messages) : std::make_unique<QtMessageBoxBackend>(this)) {
  setObjectName(QStringLiteral("ShapedForm"));
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  // Where the window system composites, the pixels outside the outline stay
  // transparent; elsewhere the mask alone cuts them away.
  setAttribute(Qt::WA_TranslucentBackground);
  setWindowTitle(ProductName());
  setWindowIcon(ProgramIcon());
  screenTwips_ = ScreenTwipsPerPixel(screen());
  const QPoint twips = LayoutTwipsPerPixel(screenTwips_);
  setFixedSize(FormLayout::PixelGeometry({0, 0, FormLayout::ClientWidth, FormLayout::ClientHeight},
                                         twips.x(), twips.y())
                   .size());
  move(FormLayout::PixelGeometry({301, 232, 0, 0}, twips.x(), twips.y()).topLeft());
  CreateControls();
  Form_Load();
}

ShapedForm::~ShapedForm() { SetMousePointer(MousePointer::Default); }

void ShapedForm::CreateControls() {
  const QPoint twips = LayoutTwipsPerPixel(screenTwips_);
  std::map<int, QWidget*> byTabIndex;
  for (const FormLayout::ControlSpec& layout : FormLayout::Controls()) {
    QWidget* control = nullptr;
    switch (layout.Kind) {
      case FormLayout::ControlKind::Label: {
        auto* label = new QLabel(layout.Caption, this);
        label->setAttribute(Qt::WA_TranslucentBackground);
        control = label;
        break;
      }
      case FormLayout::ControlKind::HotSpot:
        control = new HotSpot(this);
        break;
      case FormLayout::ControlKind::TextBox:
        control = new QLineEdit(layout.Caption, this);
        break;
      case FormLayout::ControlKind::CommandButton:
        control = new QPushButton(layout.Caption, this);
        break;
    }
    control->setObjectName(layout.Name);
    control->setGeometry(FormLayout::PixelGeometry(layout.Geometry, twips.x(), twips.y()));
    // A press on a control is the control's, never a move of the window.
    control->setAttribute(Qt::WA_NoMousePropagation);
    if (layout.Kind != FormLayout::ControlKind::HotSpot)
      control->setFont(FormLayout::MakeFont(layout.Font));
    if (layout.Kind == FormLayout::ControlKind::TextBox ||
        layout.Kind == FormLayout::ControlKind::CommandButton)
      byTabIndex[layout.TabIndex] = control;
  }
  playerpkg = findChild<QLabel*>("playerpkg");
  pkgtxt = findChild<QLineEdit*>("pkgtxt");
  Label1 = findChild<QLabel*>("Label1");
  jrsytxt = findChild<QLineEdit*>("jrsytxt");
  Filesize = findChild<QLabel*>("Filesize");
  Showsize = findChild<QLabel*>("Showsize");
  Load = findChild<QPushButton*>("Load");
  Save = findChild<QPushButton*>("Save");
  Import = findChild<QPushButton*>("Import");
  Export = findChild<QPushButton*>("Export");
  About = findChild<QPushButton*>("About");
  Minimized = findChild<HotSpot*>("Minimized");
  Exit = findChild<HotSpot*>("Exit");
  Minimized->setAccessibleName(QStringLiteral("Minimize"));
  Exit->setAccessibleName(QStringLiteral("Close"));

  QWidget* previous = nullptr;
  for (const auto& [tabIndex, control] : byTabIndex) {
    control->setFocusPolicy(Qt::StrongFocus);
    if (previous) setTabOrder(previous, control);
    previous = control;
  }

  connect(Load, &QPushButton::clicked, this, &ShapedForm::Load_Click);
  connect(Save, &QPushButton::clicked, this, &ShapedForm::Save_Click);
  connect(Import, &QPushButton::clicked, this, &ShapedForm::Import_Click);
  connect(Export, &QPushButton::clicked, this, &ShapedForm::Export_Click);
  connect(About, &QPushButton::clicked, this, &ShapedForm::About_Click);
  connect(Minimized, &HotSpot::clicked, this, &ShapedForm::Minimized_Click);
  connect(Exit, &HotSpot::clicked, this, &ShapedForm::Exit_Click);
}

void ShapedForm::Form_Load() {
  // Shaped once, before the window is first shown; a move or a new screen
  // never recomputes it. A screen whose twips per pixel give no outline
  // leaves the window rectangular rather than unusable.
  try {
    formRegion_ = MakeFormRegion(1, 1, 0, 0, screenTwips_).Region;
    setMask(formRegion_);
  } catch (const CommandError&) {
    formRegion_ = QRegion();
  }

  pkgtxt->setEnabled(false);
  jrsytxt->setEnabled(false);
  pkgtxt->setText(QString());
  EnableFileButtons(false);
  Load->setFocus();
}

void ShapedForm::Load_Click() { RunFileCommand(*this, comDlg_, LoadCommand()); }
void ShapedForm::Save_Click() { RunFileCommand(*this, comDlg_, SaveCommand()); }
void ShapedForm::Import_Click() { RunFileCommand(*this, comDlg_, ImportCommand()); }
void ShapedForm::Export_Click() { RunFileCommand(*this, comDlg_, ExportCommand()); }

void ShapedForm::About_Click() {
  // A fresh window every time; exec() returns when it has closed and keeps
  // the main window from taking input meanwhile.
  frmAbout about(this);
  about.exec();
}

void ShapedForm::Minimized_Click() { showMinimized(); }

// Closing the last window ends the program.
void ShapedForm::Exit_Click() { close(); }

void ShapedForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!formRegion_.isEmpty()) painter.setClipRegion(formRegion_);
  painter.fillRect(rect(), Qt::white);
  const QImage& skin = SkinPicture();
  const QPoint twips = LayoutTwipsPerPixel(screenTwips_);
  painter.drawImage(FormLayout::PixelGeometry(skin.rect(), twips.x(), twips.y()), skin);
}

void ShapedForm::mousePressEvent(QMouseEvent* event) { Form_MouseDown(event); }

// Any button, with any modifiers, moves the window as a press on a title bar
// would.
void ShapedForm::Form_MouseDown(QMouseEvent* event) {
  event->accept();
  if (drag_) return;
  QWindow* window = windowHandle();
  if (window && window->startSystemMove()) return;
  drag_ = Drag{event->button(), event->globalPosition(), pos()};
}

void ShapedForm::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!drag_) return;
  move(drag_->WindowAt + (event->globalPosition() - drag_->PressedAt).toPoint());
}

// The move ends when the button that started it is released.
void ShapedForm::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (drag_ && event->button() == drag_->Button) drag_.reset();
}

QLineEdit* ShapedForm::Box(IdentifierBox box) const {
  return box == IdentifierBox::pkgtxt ? pkgtxt : jrsytxt;
}

QString ShapedForm::IdentifierText(IdentifierBox box) const { return Box(box)->text(); }

void ShapedForm::SetIdentifierText(IdentifierBox box, const QString& text) {
  Box(box)->setText(text);
}

void ShapedForm::SetIdentifierEnabled(IdentifierBox box, bool enabled) {
  Box(box)->setEnabled(enabled);
}

void ShapedForm::SetShowsize(const QString& caption) { Showsize->setText(caption); }

void ShapedForm::SetMousePointer(MousePointer pointer) {
  const bool hourglass = pointer == MousePointer::Hourglass;
  if (hourglass == hourglass_) return;
  hourglass_ = hourglass;
  if (hourglass)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

void ShapedForm::EnableFileButtons(bool enabled) {
  Save->setEnabled(enabled);
  Import->setEnabled(enabled);
  Export->setEnabled(enabled);
}

void ShapedForm::ShowMessage(const QString& text, const QString& caption, MessageStyle style) {
  messages_->Show(text, caption, style);
}
