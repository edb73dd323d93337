#include "ui/first_paint.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace ui {

namespace {

constexpr int LatestStartMs = 1000;

class FirstPaintWatch : public QObject {
 public:
  FirstPaintWatch(QWidget& widget, std::function<void()> then)
      : QObject(&widget), m_then(std::move(then)) {
    widget.installEventFilter(this);
    QTimer::singleShot(LatestStartMs, this, [this] { run(); });
  }

  bool eventFilter(QObject*, QEvent* event) override {
    // After the paint, and after the picture reaches the screen with it.
    if (event->type() == QEvent::Paint) QTimer::singleShot(0, this, [this] { run(); });
    return false;
  }

 private:
  void run() {
    if (!m_then) return;
    auto then = std::move(m_then);
    m_then = nullptr;
    deleteLater();
    then();
  }

  std::function<void()> m_then;
};

}  // namespace

void afterFirstPaint(QWidget& widget, std::function<void()> then) {
  new FirstPaintWatch(widget, std::move(then));
}

}  // namespace ui
