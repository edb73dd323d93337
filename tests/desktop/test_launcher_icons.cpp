// The launcher icons as a desktop shows them: a PNG of its own size for each size the theme
// offers, on transparency outside the tile, and an SVG that draws the same picture.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>

namespace {

const QString Theme = QStringLiteral(CPE_ICON_THEME);
const QString Name = QStringLiteral(CPE_APP_ID);

QImage renderSvg(int size) {
  QSvgRenderer svg(Theme + QStringLiteral("/scalable/apps/") + Name + QStringLiteral(".svg"));
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  if (!svg.isValid()) return {};
  QPainter p(&image);
  svg.render(&p);
  return image;
}

class LauncherIcon : public ::testing::TestWithParam<int> {};

TEST_P(LauncherIcon, IsItsSizeOnATransparentCorner) {
  const int size = GetParam();
  const QImage png(Theme + QStringLiteral("/%1x%1/apps/").arg(size) + Name + ".png");
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), QSize(size, size));
  EXPECT_TRUE(png.hasAlphaChannel());
  EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(png.pixel(size - 1, 0)), 0);
  // The ball's upper left quarter, away from its seams, is opaque orange.
  const QColor ball = png.pixelColor(size * 26 / 64, size * 18 / 64);
  EXPECT_EQ(ball.alpha(), 255);
  EXPECT_GT(ball.red(), 180);
  EXPECT_LT(ball.blue(), 90);
}

// Scaling the vector picture gives what the painter paints at that size, so that a desktop
// which prefers the SVG shows the same icon; a shape the SVG output dropped or moved shows
// up as a block of differing pixels.
TEST_P(LauncherIcon, MatchesTheScalableIconAtItsSize) {
  const int size = GetParam();
  const QImage png = QImage(Theme + QStringLiteral("/%1x%1/apps/").arg(size) + Name + ".png")
                         .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage svg = renderSvg(size);
  ASSERT_FALSE(svg.isNull()) << "the SVG does not load";
  ASSERT_EQ(png.size(), svg.size());
  int differing = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const QRgb a = png.pixel(x, y);
      const QRgb b = svg.pixel(x, y);
      const int difference =
          std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                    std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
      if (difference > 16) ++differing;
    }
  }
  EXPECT_LE(differing, size * size / 400) << differing << " of " << size * size << " pixels";
}

INSTANTIATE_TEST_SUITE_P(EverySize, LauncherIcon, ::testing::Values(16, 32, 48, 64, 128, 256));

}  // namespace
