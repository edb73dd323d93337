#include <gtest/gtest.h>

#include "fsh/pixel_formats.h"
#include "portrait/crop_rect.h"
#include "portrait/fit_picture.h"

namespace {

using portrait::FitMode;

// A 40x20 picture: left half red, right half blue, with a green column at x = 0.
QImage halves() {
  QImage picture(40, 20, QImage::Format_RGB32);
  picture.fill(Qt::red);
  for (int y = 0; y < 20; ++y) {
    for (int x = 20; x < 40; ++x) picture.setPixel(x, y, qRgb(0, 0, 255));
    picture.setPixel(0, y, qRgb(0, 255, 0));
  }
  return picture;
}

TEST(FitPicture, StretchFillsTheTargetAndKeepsBothHalves) {
  const QImage out = portrait::fitPicture(halves(), QSize(16, 32), FitMode::Stretch);
  ASSERT_EQ(out.size(), QSize(16, 32));
  EXPECT_EQ(out.format(), QImage::Format_ARGB32);
  EXPECT_EQ(out.pixel(4, 16), qRgb(255, 0, 0));
  EXPECT_EQ(out.pixel(12, 16), qRgb(0, 0, 255));
}

TEST(FitPicture, FillCoversTheTargetAndCutsBothSidesEqually) {
  // Scaled to 64x32, then 16 columns cut on each side: the green edge goes.
  const QImage out = portrait::fitPicture(halves(), QSize(32, 32), FitMode::Fill);
  ASSERT_EQ(out.size(), QSize(32, 32));
  for (int y = 0; y < 32; ++y) {
    EXPECT_EQ(out.pixel(0, y), qRgb(255, 0, 0)) << y;
    EXPECT_EQ(out.pixel(31, y), qRgb(0, 0, 255)) << y;
  }
  EXPECT_EQ(out.pixel(14, 10), qRgb(255, 0, 0));
  EXPECT_EQ(out.pixel(17, 10), qRgb(0, 0, 255));
}

TEST(FitPicture, FitShowsTheWholePictureOnTransparentMargins) {
  // Scaled to 32x16, centred with 8 transparent rows above and below.
  const QImage out = portrait::fitPicture(halves(), QSize(32, 32), FitMode::Fit);
  ASSERT_EQ(out.size(), QSize(32, 32));
  for (int x = 0; x < 32; ++x) {
    EXPECT_EQ(qAlpha(out.pixel(x, 7)), 0) << x;
    EXPECT_EQ(qAlpha(out.pixel(x, 24)), 0) << x;
    EXPECT_EQ(qAlpha(out.pixel(x, 8)), 255) << x;
    EXPECT_EQ(qAlpha(out.pixel(x, 23)), 255) << x;
  }
  EXPECT_GT(qGreen(out.pixel(0, 16)), 100);  // the green edge stays
  EXPECT_EQ(out.pixel(31, 16), qRgb(0, 0, 255));
}

TEST(FitPicture, SmoothScalingAveragesWhatItShrinks) {
  QImage stripes(64, 64, QImage::Format_ARGB32);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x)
      stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  }
  const QImage out = portrait::fitPicture(stripes, QSize(8, 8), FitMode::Stretch);
  EXPECT_NEAR(qGreen(out.pixel(4, 4)), 128, 8);
}

TEST(FitPicture, NothingToFitGivesANullImage) {
  EXPECT_TRUE(portrait::fitPicture(QImage(), QSize(8, 8), FitMode::Fill).isNull());
  EXPECT_TRUE(portrait::fitPicture(halves(), QSize(0, 8), FitMode::Fit).isNull());
}

// A 40x20 picture of four 20x10 quadrants: red, green above; blue, yellow below.
QImage quadrants() {
  QImage picture(40, 20, QImage::Format_ARGB32);
  picture.fill(Qt::red);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      if (x >= 20 || y >= 10)
        picture.setPixel(x, y,
                         y < 10   ? qRgb(0, 255, 0)
                         : x < 20 ? qRgb(0, 0, 255)
                                  : qRgb(255, 255, 0));
  return picture;
}

struct CropCase {
  const char* name;
  FitMode mode;
  QRect crop;
  QRgb colour;
  int marginRows;  // transparent rows above and below the colour
};

class FitCrop : public ::testing::TestWithParam<CropCase> {};

TEST_P(FitCrop, OnlyTheCroppedQuadrantIsShown) {
  const CropCase& c = GetParam();
  const QImage out = portrait::fitPicture(quadrants(), QSize(16, 16), c.mode, c.crop);
  ASSERT_EQ(out.size(), QSize(16, 16));
  for (int y = 0; y < 16; ++y) {
    const bool margin = y < c.marginRows || y >= 16 - c.marginRows;
    for (int x = 0; x < 16; ++x) {
      if (margin)
        ASSERT_EQ(qAlpha(out.pixel(x, y)), 0) << x << "," << y;
      else
        ASSERT_EQ(out.pixel(x, y), c.colour) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Quadrants, FitCrop,
    ::testing::Values(
        // A wide crop in a square: fill cuts its sides, fit leaves a band.
        CropCase{"FillWide", FitMode::Fill, {20, 0, 20, 10}, qRgb(0, 255, 0), 0},
        CropCase{"Stretch", FitMode::Stretch, {0, 10, 20, 10}, qRgb(0, 0, 255), 0},
        CropCase{"Fit", FitMode::Fit, {20, 10, 20, 10}, qRgb(255, 255, 0), 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct CropRectCase {
  const char* name;
  double zoom;
  QPointF centre;
  QRect expected;
};

class CropRectTest : public ::testing::TestWithParam<CropRectCase> {};

// A 400x200 picture in a 100x100 portrait: fill scales by 1/2, so zoom 1
// shows 200x200 picture pixels.
TEST_P(CropRectTest, StaysInsideThePicture) {
  EXPECT_EQ(portrait::cropRect({400, 200}, {100, 100}, GetParam().zoom, GetParam().centre),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Zooms, CropRectTest,
    ::testing::Values(CropRectCase{"TopLeftEdge", 1, {0, 0}, {0, 0, 200, 200}},
                      CropRectCase{"RightEdge", 1, {1000, 1000}, {200, 0, 200, 200}},
                      CropRectCase{"BelowOneIsOne", 0.5, {200, 100}, {100, 0, 200, 200}},
                      CropRectCase{"Twice", 2, {200, 100}, {150, 50, 100, 100}},
                      CropRectCase{"BeyondEightIsEight", 20, {399, 199}, {375, 175, 25, 25}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatNames, MapTheCommandLinesNamesToCodes) {
  const std::pair<const char*, int> names[] = {
      {"dxt1", 0x60},     {"DXT3", 0x61},     {"dxt5", 0x62},
      {"argb8888", 0x7D}, {"rgb888", 0x7F},   {"Rgb565", 0x78},
      {"argb1555", 0x7E}, {"argb4444", 0x6D}, {"indexed8", 0x7B},
  };
  for (const auto& [name, code] : names) {
    const auto found = fsh::codeForFormatName(QString::fromLatin1(name));
    ASSERT_TRUE(found) << name;
    EXPECT_EQ(found->value_or(0), code) << name;
  }
  const auto keep = fsh::codeForFormatName(u"keep");
  ASSERT_TRUE(keep);
  EXPECT_FALSE(keep->has_value());
  EXPECT_EQ(fsh::formatCommandNames().size(), 10);

  const auto unknown = fsh::codeForFormatName(u"png");
  ASSERT_FALSE(unknown);
  EXPECT_EQ(unknown.error().message.toStdString(),
            "unknown format \"png\" (known: keep, dxt1, dxt3, dxt5, argb8888, rgb888, rgb565, "
            "argb1555, argb4444, indexed8)");
}

}  // namespace
