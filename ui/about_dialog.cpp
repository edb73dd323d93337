#include "ui/about_dialog.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/application_title.h"
#include "ui/form_layout.h"
#include "ui/skin.h"

namespace ui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutDialog"));
  setWindowTitle(QCoreApplication::translate("AboutDialog", "About ") + applicationTitle());
  setWindowIcon(programIcon());
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
    label->setFont(FormLayout::makeFont(font));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
  };
  makeLabel("titleLabel", applicationTitle(), {24, 16, 209, 25}, tahoma);
  makeLabel("creditLabel",
            QCoreApplication::translate("AboutDialog", "Made by the project's contributors"),
            {24, 56, 233, 25}, verdana);
  makeLabel("contactLabel", QCoreApplication::translate("AboutDialog", "Contact: see the README"),
            {24, 72, 193, 25}, verdana);

  m_okButton = new QPushButton(QStringLiteral("OK"), this);
  m_okButton->setObjectName(QStringLiteral("okButton"));
  m_okButton->setGeometry(88, 96, 84, 23);  // centred: (259 - 84) / 2 rounds up
  m_okButton->setFont(FormLayout::makeFont(tahoma));
  m_okButton->setDefault(true);
  m_okButton->setFocus();
  connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
}

// OK is also the cancel button: Esc presses it rather than rejecting the
// dialog on its own.
void AboutDialog::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) {
    m_okButton->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace ui
