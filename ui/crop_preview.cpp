#include "ui/crop_preview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace ui {

namespace {

// One notch of a common mouse wheel, in eighths of a degree.
constexpr int WheelStep = 120;

}  // namespace

CropPreview::CropPreview(QWidget* parent) : PortraitView(parent) {
  setObjectName(QStringLiteral("cropPreview"));
}

void CropPreview::setCropEnabled(bool enabled) {
  m_cropEnabled = enabled;
  m_dragFrom.reset();
  m_wheelAngle = 0;
  setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
  if (enabled) {
    setCursor(Qt::OpenHandCursor);
    setToolTip(QStringLiteral(
        "Drag to move the crop, wheel or + and - to zoom, double-click or 0 to reset"));
  } else {
    unsetCursor();
    setToolTip({});
  }
}

void CropPreview::mousePressEvent(QMouseEvent* event) {
  if (!m_cropEnabled || event->button() != Qt::LeftButton)
    return PortraitView::mousePressEvent(event);
  m_dragFrom = event->position().toPoint();
  setCursor(Qt::ClosedHandCursor);
}

void CropPreview::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragFrom) return PortraitView::mouseMoveEvent(event);
  const QPoint at = event->position().toPoint();
  const QPoint moved = at - *m_dragFrom;
  if (moved.isNull()) return;
  m_dragFrom = at;
  emit cropMoved(-QPointF(moved) / scale());
}

void CropPreview::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_dragFrom || event->button() != Qt::LeftButton)
    return PortraitView::mouseReleaseEvent(event);
  m_dragFrom.reset();
  setCursor(Qt::OpenHandCursor);
}

void CropPreview::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!m_cropEnabled || event->button() != Qt::LeftButton)
    return PortraitView::mouseDoubleClickEvent(event);
  emit resetRequested();
}

void CropPreview::wheelEvent(QWheelEvent* event) {
  if (!m_cropEnabled) return PortraitView::wheelEvent(event);
  m_wheelAngle += event->angleDelta().y();
  const int steps = m_wheelAngle / WheelStep;
  m_wheelAngle -= steps * WheelStep;
  if (steps != 0) emit zoomStepped(steps);
}

void CropPreview::keyPressEvent(QKeyEvent* event) {
  if (!m_cropEnabled) return PortraitView::keyPressEvent(event);
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:  // + without Shift on many layouts
      emit zoomStepped(1);
      return;
    case Qt::Key_Minus:
      emit zoomStepped(-1);
      return;
    case Qt::Key_0:
      emit resetRequested();
      return;
    case Qt::Key_Left:
      emit cropMoved({-1, 0});
      return;
    case Qt::Key_Right:
      emit cropMoved({1, 0});
      return;
    case Qt::Key_Up:
      emit cropMoved({0, -1});
      return;
    case Qt::Key_Down:
      emit cropMoved({0, 1});
      return;
    default:
      // Enter and Esc still reach the dialog.
      PortraitView::keyPressEvent(event);
  }
}

}  // namespace ui
