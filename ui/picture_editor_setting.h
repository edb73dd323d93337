#pragma once

#include <QString>

namespace ui {

// The program the user chose to edit portraits in, remembered from one run to
// the next; empty while the desktop's default program for PNG pictures is used.
QString chosenPictureEditor();
void rememberPictureEditor(const QString& program);

}  // namespace ui
