#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace ui {

// The scale at which picture fits into area: the largest whole number, so
// that each pixel becomes a square of equal pixels; below 1 only for a picture
// larger than the area, which is then shown whole, scaled down.
double fittingScale(QSize picture, QSize area);

// A picture on a checkerboard, so that its transparent parts show, at the
// scale that fits the widget (see fittingScale): enlarged, each pixel becomes a
// square of equal pixels, never a blur; a picture larger than the widget is
// scaled down smoothly. Without a picture it shows a sentence saying why there
// is none.
class PortraitView : public QWidget {
  Q_OBJECT

 public:
  explicit PortraitView(QWidget* parent = nullptr);

  // A null picture shows the message instead.
  void setPicture(const QImage& picture, const QString& message = {});
  const QImage& picture() const { return m_picture; }
  const QString& message() const { return m_message; }

  // The size hint asks for room for the picture at this scale.
  void setPreferredScale(double scale);
  // Without a picture, the size hint keeps room for one of this size, so that
  // a picture that comes later does not find the view too small.
  void setPlaceholderSize(QSize pictureSize);
  QSize sizeHint() const override;

  // The picture scaled down to the size it is shown at, made elsewhere (a
  // worker thread), so that painting a large picture does not scale it here.
  // Taken while its size is the one shown; null does nothing.
  void setReducedPicture(const QImage& reduced);
  // The size a picture of this size would be shown at in the view's room.
  QSize shownSize(QSize pictureSize) const;

  // Where the picture is drawn, and at which scale.
  double scale() const;
  QRect pictureRect() const;

  // Colours of the checkerboard's squares and of the surface around the picture.
  static QColor lightSquare();
  static QColor darkSquare();
  static QColor surface();
  static constexpr int SquareSize = 8;
  static constexpr int Margin = 12;
  // Room for a sentence when there is no picture.
  static constexpr QSize MessageArea{256, 128};

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_picture;
  QString m_message;
  double m_preferredScale = 1;
  // The picture scaled down as it was last shown, so that repainting does not
  // scale a large picture again.
  mutable QImage m_reduced;
  QSize m_placeholderSize;
};

}  // namespace ui
