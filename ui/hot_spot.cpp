#include "ui/hot_spot.h"

#include <QMouseEvent>

namespace ui {

HotSpot::HotSpot(QWidget* parent) : QLabel(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  setFocusPolicy(Qt::NoFocus);
}

void HotSpot::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_pressed = true;
  event->accept();
}

void HotSpot::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !m_pressed) return;
  m_pressed = false;
  if (rect().contains(event->position().toPoint())) emit clicked();
}

}  // namespace ui
