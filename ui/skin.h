#pragma once

#include <QIcon>
#include <QImage>

namespace ui {

// The bundled pictures: the main window's skin and the program icon, which
// both windows carry.
const QImage& skinPicture();
QIcon programIcon();

}  // namespace ui
