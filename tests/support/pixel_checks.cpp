#include "support/pixel_checks.h"

#include <QColor>

::testing::AssertionResult samePixels(const QImage& expected, const QImage& actual) {
  if (expected.size() != actual.size()) {
    return ::testing::AssertionFailure()
           << "sizes differ: " << expected.width() << "x" << expected.height() << " expected, "
           << actual.width() << "x" << actual.height() << " shown";
  }
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      const QRgb want = expected.pixel(x, y);
      const QRgb got = actual.pixel(x, y);
      if (want != got) {
        return ::testing::AssertionFailure()
               << "pixel " << x << ", " << y << ": expected "
               << QColor::fromRgba(want).name(QColor::HexArgb).toStdString() << ", got "
               << QColor::fromRgba(got).name(QColor::HexArgb).toStdString();
      }
    }
  }
  return ::testing::AssertionSuccess();
}

QImage shownPixels(const QImage& grabbed, QPoint origin, QSize pictureSize, int scale) {
  QImage shown(pictureSize, QImage::Format_ARGB32);
  for (int y = 0; y < pictureSize.height(); ++y) {
    for (int x = 0; x < pictureSize.width(); ++x) {
      const QPoint corner = origin + QPoint(x, y) * scale;
      QRgb colour = grabbed.pixel(corner);
      for (int dy = 0; dy < scale; ++dy)
        for (int dx = 0; dx < scale; ++dx)
          if (grabbed.pixel(corner + QPoint(dx, dy)) != colour) colour = qRgba(0, 0, 0, 0);
      shown.setPixel(x, y, colour);
    }
  }
  return shown;
}
