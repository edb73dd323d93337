#include "ui/frm_about.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "archive/application_title.h"
#include "ui/form_layout.h"
#include "ui/skin.h"

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About..."));
  setWindowIcon(ProgramIcon());
  setFixedSize(ClientWidth, ClientHeight);
  setSizeGripEnabled(false);

  // Light text on the dark frame colour, as the system colours give it.
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Shadow));
  colours.setColor(QPalette::WindowText, colours.color(QPalette::HighlightedText));
  setPalette(colours);
  setAutoFillBackground(true);

  const FormLayout::FontSpec tahoma{"Tahoma", 9.75, false};
  const FormLayout::FontSpec verdana{"Verdana", 9, false};
  auto makeLabel = [this](const char* name, const QString& text, const QRect& geometry,
                          const FormLayout::FontSpec& font) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(FormLayout::MakeFont(font));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
  };
  Label1 = makeLabel("Label1", ApplicationTitle(), {24, 16, 209, 25}, tahoma);
  Label2 = makeLabel("Label2", QStringLiteral("Made by the project's contributors"),
                     {24, 56, 233, 25}, verdana);
  Label3 =
      makeLabel("Label3", QStringLiteral("Contact: see the README"), {24, 72, 193, 25}, verdana);

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setGeometry(88, 96, 84, 23);  // centred: (259 - 84) / 2 rounds up
  cmdOK->setFont(FormLayout::MakeFont(tahoma));
  cmdOK->setDefault(true);
  cmdOK->setFocus();
  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

  Form_Load();
}

void frmAbout::Form_Load() { setWindowTitle(QStringLiteral("About ") + ApplicationTitle()); }

// OK is also the cancel button: Esc presses it rather than rejecting the
// dialog on its own.
void frmAbout::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) {
    cmdOK->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void frmAbout::cmdOK_Click() { accept(); }
