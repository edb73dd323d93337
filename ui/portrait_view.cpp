#include "ui/portrait_view.h"

#include <QPainter>
#include <algorithm>

#include "ui/skin_layout.h"

namespace {

// Room for a sentence when there is no picture.
constexpr QSize MessageArea(256, 128);

// Two squares by two, light at the top left; a brush repeats it.
const QImage& checkerTile() {
  static const QImage tile = [] {
    constexpr int Side = PortraitView::SquareSize;
    QImage image(2 * Side, 2 * Side, QImage::Format_RGB32);
    image.fill(PortraitView::lightSquare());
    for (int y = 0; y < 2 * Side; ++y)
      for (int x = 0; x < 2 * Side; ++x)
        if ((x / Side + y / Side) % 2) image.setPixelColor(x, y, PortraitView::darkSquare());
    return image;
  }();
  return tile;
}

}  // namespace

int largestIntegerScale(QSize picture, QSize area) {
  if (picture.isEmpty()) return 1;
  return std::max(1, std::min(area.width() / picture.width(), area.height() / picture.height()));
}

PortraitView::PortraitView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("portraitView"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QColor PortraitView::lightSquare() { return {255, 255, 255}; }
QColor PortraitView::darkSquare() { return {204, 204, 204}; }
QColor PortraitView::surface() { return SkinLayout::DarkBlue; }

void PortraitView::setPicture(const QImage& picture, const QString& message) {
  m_picture = picture;
  m_message = picture.isNull() ? message : QString();
  updateGeometry();
  update();
}

void PortraitView::setPreferredScale(int scale) {
  m_preferredScale = std::max(1, scale);
  updateGeometry();
}

void PortraitView::setPlaceholderSize(QSize pictureSize) {
  m_placeholderSize = pictureSize;
  updateGeometry();
}

QSize PortraitView::sizeHint() const {
  const QSize content = !m_picture.isNull()           ? m_picture.size() * m_preferredScale
                        : m_placeholderSize.isEmpty() ? MessageArea
                                                      : m_placeholderSize * m_preferredScale;
  return content + QSize(2 * Margin, 2 * Margin);
}

int PortraitView::scale() const {
  return largestIntegerScale(
      m_picture.size(), rect().marginsRemoved(QMargins(Margin, Margin, Margin, Margin)).size());
}

QRect PortraitView::pictureRect() const {
  if (m_picture.isNull()) return {};
  QRect shown(QPoint(), m_picture.size() * scale());
  shown.moveCenter(rect().center());
  // Centred, unless the picture is larger than the view: then its top-left shows.
  shown.moveTopLeft({std::max(0, shown.left()), std::max(0, shown.top())});
  return shown;
}

void PortraitView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), surface());
  if (m_picture.isNull()) {
    painter.setPen(SkinLayout::White);
    painter.drawText(rect().marginsRemoved(QMargins(Margin, Margin, Margin, Margin)),
                     Qt::AlignCenter | Qt::TextWordWrap, m_message);
    return;
  }
  const QRect shown = pictureRect();
  painter.setBrushOrigin(shown.topLeft());
  painter.fillRect(shown, QBrush(checkerTile()));
  // Without smooth transformation each pixel becomes a square of its own colour.
  painter.drawImage(shown, m_picture);
}
