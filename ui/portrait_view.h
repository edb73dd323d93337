#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// The largest whole-number scale at which picture fits into area; at least 1,
// so that a picture larger than the area is shown at its own size and cut.
int largestIntegerScale(QSize picture, QSize area);

// A picture on a checkerboard, so that its transparent parts show, at the
// largest whole-number scale that fits the widget: each pixel becomes a square
// of equal pixels, never a blur. Without a picture it shows a sentence saying
// why there is none.
class PortraitView : public QWidget {
  Q_OBJECT

 public:
  explicit PortraitView(QWidget* parent = nullptr);

  // A null picture shows the message instead.
  void setPicture(const QImage& picture, const QString& message = {});
  const QImage& picture() const { return m_picture; }
  const QString& message() const { return m_message; }

  // The size hint asks for room for the picture at this scale.
  void setPreferredScale(int scale);
  // Without a picture, the size hint keeps room for one of this size, so that
  // a picture that comes later does not find the view too small.
  void setPlaceholderSize(QSize pictureSize);
  QSize sizeHint() const override;

  // Where the picture is drawn, and at which scale.
  int scale() const;
  QRect pictureRect() const;

  // Colours of the checkerboard's squares and of the surface around the picture.
  static QColor lightSquare();
  static QColor darkSquare();
  static QColor surface();
  static constexpr int SquareSize = 8;
  static constexpr int Margin = 12;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_picture;
  QString m_message;
  int m_preferredScale = 1;
  QSize m_placeholderSize;
};
