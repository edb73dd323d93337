#pragma once

#include <QLabel>

namespace ui {

// An invisible label over one of the skin's glyphs that reacts to a click: a
// left-button press and release inside it.
class HotSpot : public QLabel {
  Q_OBJECT

 public:
  explicit HotSpot(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool m_pressed = false;
};

}  // namespace ui
