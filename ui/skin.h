#pragma once

#include <QIcon>
#include <QImage>
#include <QRegion>

namespace ui {

// The bundled pictures: the main window's skin and the program icon, which
// both windows carry.
const QImage& skinPicture();
QIcon programIcon();

// The main window's face: white, the skin drawn into skinRect, and every pixel
// outside the outline transparent (an empty outline keeps them all). Made once
// and painted without a clip, which keeps the first paint short.
QImage outlinedSkin(const QSize& size, const QRect& skinRect, const QRegion& outline);

}  // namespace ui
