// Thumbnails for file managers and the roster: the portrait's main bitmap,
// aspect kept, scaled down smoothly and never up.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "fsh/fsh_layout.h"
#include "portrait/thumbnail.h"
#include "support/fsh_fixture.h"
#include "support/portrait_archive.h"
#include "support/qt_printers.h"

namespace {

// Black and white columns, one pixel each: scaled smoothly they turn grey.
QImage stripes(QSize size) {
  QImage picture(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      picture.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  return picture;
}

struct ThumbnailCase {
  const char* name;
  bool inArchive;  // else an FSH image file
  QSize portrait;
  int longerSide;
  QSize expected;
};

class ThumbnailTest : public ::testing::TestWithParam<ThumbnailCase> {};

TEST_P(ThumbnailTest, KeepsTheAspectAndNeverEnlarges) {
  const ThumbnailCase& c = GetParam();
  QTemporaryDir dir;
  const QByteArray image = singleBitmap(fsh::Code::Argb8888, stripes(c.portrait)).build();
  const QString input = dir.filePath("input");
  writeFile(input, c.inArchive ? archiveWithPortrait(ArchiveFixture(), image) : image);

  const auto file = portrait::thumbnailFile(input, dir.filePath("t.png"), c.longerSide);

  ASSERT_TRUE(file);
  const QImage png = QImage::fromData(file->bytes, "PNG");
  EXPECT_EQ(png.size(), c.expected);
  EXPECT_EQ(file->size, c.expected);
  const int grey = qRed(png.pixel(png.width() / 2, png.height() / 2));
  if (c.expected == c.portrait)
    EXPECT_TRUE(grey == 0 || grey == 255) << grey;
  else
    EXPECT_NEAR(grey, 128, 40) << "not scaled smoothly";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ThumbnailTest,
    ::testing::Values(ThumbnailCase{"Wide", true, {64, 32}, 32, {32, 16}},
                      ThumbnailCase{"TallRounded", false, {30, 100}, 16, {5, 16}},
                      ThumbnailCase{"SmallerIsNotEnlarged", true, {20, 10}, 128, {20, 10}},
                      ThumbnailCase{"ExactlyTheSize", false, {32, 32}, 32, {32, 32}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
