#include "ui/portrait_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/skin_layout.h"

namespace ui {

namespace {

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

double fittingScale(QSize picture, QSize area) {
  if (picture.isEmpty() || area.isEmpty()) return 1;
  const double fit =
      std::min(double(area.width()) / picture.width(), double(area.height()) / picture.height());
  return fit >= 1 ? std::floor(fit) : fit;
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
  m_reduced = {};
  m_message = picture.isNull() ? message : QString();
  updateGeometry();
  update();
}

void PortraitView::setPreferredScale(double scale) {
  m_preferredScale = scale > 0 ? scale : 1;
  updateGeometry();
}

void PortraitView::setPlaceholderSize(QSize pictureSize) {
  m_placeholderSize = pictureSize;
  updateGeometry();
}

QSize PortraitView::sizeHint() const {
  const QSize content = !m_picture.isNull() ? (QSizeF(m_picture.size()) * m_preferredScale).toSize()
                        : m_placeholderSize.isEmpty()
                            ? MessageArea
                            : (QSizeF(m_placeholderSize) * m_preferredScale).toSize();
  return content + QSize(2 * Margin, 2 * Margin);
}

double PortraitView::scale() const {
  return fittingScale(m_picture.size(),
                      rect().marginsRemoved(QMargins(Margin, Margin, Margin, Margin)).size());
}

void PortraitView::setReducedPicture(const QImage& reduced) {
  if (!reduced.isNull()) m_reduced = reduced;
}

QSize PortraitView::shownSize(QSize pictureSize) const {
  const QSize area = size() - QSize(2 * Margin, 2 * Margin);
  return (QSizeF(pictureSize) * fittingScale(pictureSize, area)).toSize().expandedTo({1, 1});
}

QRect PortraitView::pictureRect() const {
  if (m_picture.isNull()) return {};
  QRect shown(QPoint(), (QSizeF(m_picture.size()) * scale()).toSize().expandedTo({1, 1}));
  shown.moveCenter(rect().center());
  // Centred; where the view is smaller than the picture and its margins, from its top-left.
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
  if (shown.width() >= m_picture.width()) {
    // Without smooth transformation each pixel becomes a square of its own colour.
    painter.drawImage(shown, m_picture);
    return;
  }
  if (m_reduced.size() != shown.size()) {
    // A reduced picture made elsewhere for a slightly larger room is scaled
    // from, not the whole picture: a 4096x4096 one takes a good part of a second.
    const bool fromReduced = !m_reduced.isNull() && m_reduced.width() >= shown.width() &&
                             m_reduced.height() >= shown.height();
    m_reduced = (fromReduced ? m_reduced : m_picture)
                    .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  painter.drawImage(shown.topLeft(), m_reduced);
}

}  // namespace ui
