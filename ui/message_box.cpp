#include "ui/message_box.h"

#include <QMessageBox>

namespace ui {

void QtMessageBoxBackend::show(const QString& text, const QString& caption, MessageStyle style) {
  QMessageBox box(style == MessageStyle::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                  caption, text, QMessageBox::Ok, m_parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool QtMessageBoxBackend::ask(const QString& question, const QString& caption) {
  QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::Yes | QMessageBox::No,
                  m_parent);
  box.setTextFormat(Qt::PlainText);
  // Each question guards a write: a slip of Enter must not make it.
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace ui
