#include "ui/shaped_form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <map>

#include "archive/application_title.h"
#include "ui/file_command.h"
#include "ui/form_layout.h"
#include "ui/qt_file_dialog.h"

ShapedForm::ShapedForm(std::unique_ptr<FileDialogBackend> dialogs,
                       std::unique_ptr<MessageBoxBackend> messages, QWidget* parent)
    : QWidget(parent),
      comDlg_(dialogs ? std::move(dialogs) : std::make_unique<QtFileDialogBackend>(this)),
      messages_(messages ? std::move(messages) : std::make_unique<QtMessageBoxBackend>(this)) {
  setObjectName(QStringLiteral("ShapedForm"));
  setWindowTitle(ProductName());
  setFixedSize(FormLayout::ClientWidth, FormLayout::ClientHeight);
  CreateControls();
  Form_Load();
}

ShapedForm::~ShapedForm() { SetMousePointer(MousePointer::Default); }

void ShapedForm::CreateControls() {
  std::map<int, QWidget*> byTabIndex;
  for (const FormLayout::ControlSpec& spec : FormLayout::Controls()) {
    QWidget* control = nullptr;
    switch (spec.Kind) {
      case FormLayout::ControlKind::Label:
      case FormLayout::ControlKind::HotSpot: {
        auto* label = new QLabel(spec.Caption, this);
        label->setAttribute(Qt::WA_TranslucentBackground);
        control = label;
        break;
      }
      case FormLayout::ControlKind::TextBox:
        control = new QLineEdit(spec.Caption, this);
        break;
      case FormLayout::ControlKind::CommandButton:
        control = new QPushButton(spec.Caption, this);
        break;
    }
    control->setObjectName(spec.Name);
    control->setGeometry(spec.Geometry);
    if (spec.Kind != FormLayout::ControlKind::HotSpot)
      control->setFont(FormLayout::MakeFont(spec.Font));
    if (spec.Kind == FormLayout::ControlKind::TextBox ||
        spec.Kind == FormLayout::ControlKind::CommandButton)
      byTabIndex[spec.TabIndex] = control;
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
  Minimized = findChild<QLabel*>("Minimized");
  Exit = findChild<QLabel*>("Exit");
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
}

void ShapedForm::Form_Load() {
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

void ShapedForm::About_Click() {}

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
