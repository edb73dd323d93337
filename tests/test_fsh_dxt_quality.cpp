// The two DXT encoders: the quick one that previews use is close to the best
// one that archives get, and keeps what DXT can keep (DXT1's transparency,
// pictures whose sides are no multiple of 4); a watched encode stops when told.
#include <gtest/gtest.h>

#include <QImage>

#include "fsh/dxt_codec.h"
#include "fsh/fsh_layout.h"
#include "fsh/pixel_formats.h"
#include "support/fsh_fixture.h"

namespace {

namespace Code = fsh::Code;
using fsh::DxtQuality;

QImage decoded(uint8_t type, const QByteArray& blocks, QSize size) {
  QImage image(size, QImage::Format_ARGB32);
  fsh::decodeDxt(type, reinterpret_cast<const uchar*>(blocks.constData()), image);
  return image;
}

QImage encodedAndDecoded(uint8_t type, const QImage& picture, DxtQuality quality) {
  const auto blocks = fsh::encodeDxt(type, picture, quality);
  EXPECT_TRUE(blocks);
  EXPECT_EQ(blocks->size(), fsh::levelSize(type, picture.width(), picture.height()));
  return decoded(type, *blocks, picture.size());
}

class DxtQuickTest : public ::testing::TestWithParam<uint8_t> {};

TEST_P(DxtQuickTest, QuickIsWithinAFractionOfADecibelOfBest) {
  const QImage picture = smoothPicture({64, 64});
  const double best = psnr(picture, encodedAndDecoded(GetParam(), picture, DxtQuality::Best));
  const double quick = psnr(picture, encodedAndDecoded(GetParam(), picture, DxtQuality::Quick));
  EXPECT_GT(quick, 30.0);
  EXPECT_GT(quick, best - 1.0) << "best " << best << " dB";
}

TEST_P(DxtQuickTest, SidesThatAreNoMultipleOfFourKeepTheirPixels) {
  // 6x3 reaches into a second block column with half a block of rows.
  const QImage picture = fewColoursPicture({6, 3}, 2, 7).convertToFormat(QImage::Format_ARGB32);
  EXPECT_LE(
      largestChannelDifference(picture, encodedAndDecoded(GetParam(), picture, DxtQuality::Quick)),
      8);
}

INSTANTIATE_TEST_SUITE_P(Codes, DxtQuickTest, ::testing::Values(Code::Dxt1, Code::Dxt3, Code::Dxt5),
                         [](const auto& info) {
                           return fsh::formatName(info.param).toStdString();
                         });

TEST(DxtQuickTest, Dxt1KeepsTransparentPixelsTransparent) {
  // Fit inside leaves transparent margins: DXT1 has one-bit alpha for them.
  QImage picture = smoothPicture({16, 16});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 16; ++x) picture.setPixel(x, y, 0);
  }
  const QImage quick = encodedAndDecoded(Code::Dxt1, picture, DxtQuality::Quick);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(qAlpha(quick.pixel(x, y)), y < 6 ? 0 : 255) << x << "," << y;
  }
}

// Stops at its first report, as a cancelled preview does.
class StopAtOnce final : public fsh::EncodeProgress {
 public:
  bool advance(qint64 /*pixelsDone*/) override {
    ++calls;
    return false;
  }
  int calls = 0;
};

TEST(DxtQuickTest, AWatchedEncodeStopsAtItsFirstReport) {
  // Large enough to be encoded in several bands of rows.
  const QImage picture = noisePicture({1024, 1024}, 3);
  for (const DxtQuality quality : {DxtQuality::Best, DxtQuality::Quick}) {
    StopAtOnce stop;
    EXPECT_FALSE(fsh::encodeDxt(Code::Dxt5, picture, quality, &stop));
    EXPECT_EQ(stop.calls, 1);
  }
}

}  // namespace
