#include "ui/message_box.h"

#include <QMessageBox>

void QtMessageBoxBackend::Show(const QString& text, const QString& caption, MessageStyle style) {
  QMessageBox box(style == MessageStyle::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                  caption, text, QMessageBox::Ok, parent_);
  box.exec();
}
