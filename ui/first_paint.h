#pragma once

#include <functional>

class QWidget;

namespace ui {

// Runs then once the widget has been painted for the first time, so that work
// that can wait (reading an archive named on the command line) does not hold
// back the window's first picture. A window that is not painted soon (shown
// minimized, on a display that does not expose it) runs it after a second.
void afterFirstPaint(QWidget& widget, std::function<void()> then);

}  // namespace ui
