#pragma once

#include <QImage>
#include <QRect>
#include <QString>

// The whole screen as the X server shows it.
QImage grabScreen();

// Saves the part of the screen around the rectangle to CPE_SCREENSHOT_DIR,
// when screenshots are asked for.
void saveScreenshot(const QString& name, const QRect& around);
