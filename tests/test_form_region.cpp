#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ui/form_region.h"

void PrintTo(const ui::RegionBox& b, std::ostream* os) {
  *os << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom;
}
void PrintTo(const ui::FormRegionShapes& s, std::ostream* os) {
  *os << "outline ";
  PrintTo(s.outline, os);
  *os << " corners " << s.cornerWidth << " x " << s.cornerHeight << "; hole ";
  PrintTo(s.hole, os);
  *os << "; cut ";
  PrintTo(s.rightCut, os);
}

namespace {

struct ScreenCase {
  float twipsPerPixel;
  ui::FormRegionShapes expected;
};

class FormRegionAtScreen : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(FormRegionAtScreen, GivesThePrimitivesForThatScreen) {
  const ScreenCase& c = GetParam();
  const ui::FormRegion region = *ui::makeFormRegion(1, 1, 0, 0, {c.twipsPerPixel, c.twipsPerPixel});
  EXPECT_EQ(region.shapes, c.expected);

  // The combined region is the three shapes put together, and nothing else.
  const ui::FormRegionShapes& s = c.expected;
  const QRegion expected = ui::roundRectRegion(s.outline, s.cornerWidth, s.cornerHeight) -
                           ui::ellipseRegion(s.hole) -
                           QRegion(QRect(QPoint(s.rightCut.left, s.rightCut.top),
                                         QPoint(s.rightCut.right - 1, s.rightCut.bottom - 1)));
  EXPECT_EQ(region.region, expected);
  EXPECT_EQ(region.region.boundingRect(),
            QRect(0, 0, s.rightCut.left, s.outline.bottom));  // the cut takes the right edge
}

// Halves go to the even neighbour: 52.5 -> 52, 487.5 -> 488, 527.5 -> 528 at 12;
// 34.5 -> 34 at 10; 7.5 twips per pixel is taken as 8.
INSTANTIATE_TEST_SUITE_P(
    DesignAndOtherScreens, FormRegionAtScreen,
    ::testing::Values(
        ScreenCase{15, {{0, 0, 392, 240}, 42, 32, {8, 8, 24, 23}, {390, 8, 422, 304}}},
        ScreenCase{12, {{0, 0, 490, 300}, 52, 40, {10, 10, 30, 29}, {488, 10, 528, 380}}},
        ScreenCase{10, {{0, 0, 588, 360}, 63, 48, {12, 12, 36, 34}, {585, 12, 633, 456}}},
        ScreenCase{7.5f, {{0, 0, 735, 450}, 79, 60, {15, 15, 45, 43}, {731, 15, 791, 570}}}),
    [](const auto& info) {
      return "TwipsPerPixel" +
             std::to_string(static_cast<int>(std::lround(info.param.twipsPerPixel * 10)));
    });

TEST(FormRegion, ScalesAndOffsetsApplyToTheirOwnAxis) {
  const ui::FormRegion region = *ui::makeFormRegion(2, 1, 10, -3, {15, 15});
  // The corner sizes are scaled but never offset.
  EXPECT_EQ(region.shapes, (ui::FormRegionShapes{
                               {10, -3, 794, 237}, 84, 32, {26, 5, 58, 20}, {790, 5, 854, 301}}));
}

TEST(FormRegion, DesignOutlineAtFifteenTwips) {
  const QRegion region = ui::makeFormRegion(1, 1, 0, 0, {15, 15})->region;
  struct Pixel {
    int x, y;
    bool inside;
  };
  for (const Pixel& p : {
           Pixel{0, 0, false},  // rounded corners
           Pixel{391, 239, false},
           Pixel{0, 239, false},
           Pixel{3, 3, false},
           Pixel{21, 0, true},    // where the top edge's curve ends
           Pixel{0, 16, true},    // where the left edge's curve ends
           Pixel{16, 15, false},  // middle of the elliptical hole
           Pixel{8, 15, false},   // the hole's left and right ends
           Pixel{23, 15, false},
           Pixel{7, 15, true},
           Pixel{24, 15, true},
           Pixel{389, 8, true},  // the cut columns from row 8 down
           Pixel{390, 8, false},
           Pixel{391, 120, false},
           Pixel{389, 120, true},
           Pixel{389, 7, false},  // above row 8 the corner is already left of them
           Pixel{388, 7, true},
           Pixel{200, 239, true},
       })
    EXPECT_EQ(region.contains(QPoint(p.x, p.y)), p.inside) << p.x << ", " << p.y;
}

// The corners of a rounded rectangle and an ellipse are mirror images of each
// other, and they touch every side of their box.
TEST(FormRegion, PrimitivesAreSymmetricAndFillTheirBox) {
  const ui::RegionBox boxes[] = {{0, 0, 392, 240}, {8, 8, 24, 23}, {15, 15, 45, 43}, {3, 5, 4, 6}};
  for (const ui::RegionBox& box : boxes) {
    for (const bool ellipse : {false, true}) {
      const QRegion region = ellipse ? ui::ellipseRegion(box) : ui::roundRectRegion(box, 42, 32);
      const QRect bounds(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1));
      EXPECT_EQ(region.boundingRect(), bounds) << ellipse;
      for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
          const int mx = box.left + box.right - 1 - x;
          const int my = box.top + box.bottom - 1 - y;
          const bool inside = region.contains(QPoint(x, y));
          ASSERT_EQ(inside, region.contains(QPoint(mx, y))) << x << ", " << y;
          ASSERT_EQ(inside, region.contains(QPoint(x, my))) << x << ", " << y;
        }
      }
    }
  }
}

TEST(FormRegion, RoundsHalvesToTheEvenNeighbour) {
  const std::pair<double, int32_t> cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {28.75, 29},
      {487.5, 488},
      {2147483647.0, 2147483647},
      {-2147483648.0, std::numeric_limits<int32_t>::min()},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(*ui::roundToEven(value), expected) << value;
}

TEST(FormRegion, CoordinatesThatCannotBeComputedAreRuntimeFailures) {
  struct Failure {
    ui::TwipsPerPixel screen;
    float scale;
    int number;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (const Failure& f : {
           Failure{{0.4f, 15}, 1, 11},  // rounds to zero: division by zero
           Failure{{15, 0.5f}, 1, 11},  // a half goes to the even zero
           Failure{{32768, 15}, 1, 6},  // twips per pixel past 16 bits
           Failure{{-32769, 15}, 1, 6}, Failure{{nan, 15}, 1, 6}, Failure{{15, 15}, nan, 6},
           Failure{{15, 15}, inf, 6}, Failure{{15, 15}, 1e7f, 6},  // 392e7 is past 32 bits
       }) {
    const auto region = ui::makeFormRegion(f.scale, 1, 0, 0, f.screen);
    ASSERT_FALSE(region) << "no failure at " << f.screen.x << " / " << f.screen.y << ", scale "
                         << f.scale;
    EXPECT_EQ(region.error().number, f.number) << f.screen.x << " / " << f.screen.y;
  }
  // The extremes that still fit.
  EXPECT_EQ(*ui::roundTwipsPerPixel(32767.4f), 32767);
  EXPECT_EQ(*ui::roundTwipsPerPixel(-0.6f), -1);
  EXPECT_TRUE(ui::makeFormRegion(1, 1, 0, 0, {-15, 32767}));
}

}  // namespace
