#pragma once

#include <QPoint>
#include <QPointF>
#include <optional>

#include "ui/portrait_view.h"

namespace ui {

// The Import picture dialog's preview, which also takes the hand that places
// the crop: a drag moves the picture, the wheel and + and - zoom, the arrow
// keys move the crop by a portrait pixel, a double click and 0 reset it. It
// only says what was asked, in portrait pixels; the dialog decides the crop.
class CropPreview : public PortraitView {
  Q_OBJECT

 public:
  explicit CropPreview(QWidget* parent = nullptr);

  // Off, the preview takes no pointer or keys: the modes that fit the whole
  // picture have no crop to move.
  void setCropEnabled(bool enabled);
  bool isCropEnabled() const { return m_cropEnabled; }

 signals:
  // The crop moved by this many portrait pixels (a drag moves the picture
  // under it, so the crop the other way).
  void cropMoved(QPointF portraitPixels);
  void zoomStepped(int steps);  // closer for positive steps
  void resetRequested();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool m_cropEnabled = false;
  std::optional<QPoint> m_dragFrom;
  int m_wheelAngle = 0;  // eighths of a degree not yet a whole step
};

}  // namespace ui
