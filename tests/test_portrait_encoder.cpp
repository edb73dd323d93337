// A picture import's encodes: each level is made once per fit, format and
// quality, whatever settings ask for it again; previews come quick first and
// best last, and stopping a large encode takes a moment, not the encode.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "fsh/fsh_layout.h"
#include "portrait/import_previewer.h"
#include "portrait/picture_import.h"
#include "support/fsh_fixture.h"
#include "support/pixel_checks.h"
#include "support/portrait_fixture.h"

namespace {

namespace Code = fsh::Code;
using fsh::DxtQuality;
using portrait::FitMode;
using portrait::ImportSettings;

portrait::PictureImport prepared(QSize portrait, int mipmaps, const QImage& picture) {
  auto import = portrait::PictureImport::prepare(
      portraitImage(Code::Dxt5, smoothPicture(portrait), mipmaps), picture, "picture.png");
  EXPECT_TRUE(import);
  return std::move(import).value();
}

// The same import made anew from a 4-mipmap portrait: nothing kept from before.
QByteArray freshlyEncoded(QSize portrait, const QImage& picture, const ImportSettings& settings,
                          DxtQuality quality) {
  auto result = prepared(portrait, 4, picture).encoder()->encode(settings, quality);
  EXPECT_TRUE(result);
  return result ? result->image : QByteArray();
}

TEST(PortraitEncoderTest, EachLevelIsEncodedOncePerFitFormatAndQuality) {
  const QImage picture = noisePicture({300, 200}, 4, false);
  portrait::PictureImport import = prepared({64, 64}, 4, picture);
  portrait::PortraitEncoder& encoder = *import.encoder();
  const ImportSettings four{FitMode::Fill, Code::Dxt5, 4, {}};
  ImportSettings two = four;
  two.mipmapCount = 2;

  ASSERT_TRUE(encoder.encode(four, DxtQuality::Best));
  EXPECT_EQ(encoder.levelsEncoded(), 5);
  // Fewer mipmaps: every level is made already, and the image is the one a
  // fresh encode writes.
  const auto fewer = encoder.encode(two, DxtQuality::Best);
  ASSERT_TRUE(fewer);
  EXPECT_EQ(encoder.levelsEncoded(), 5);
  EXPECT_EQ(fewer->image, freshlyEncoded({64, 64}, picture, two, DxtQuality::Best));

  // The quick encoder's levels are its own.
  const auto quick = encoder.encode(two, DxtQuality::Quick);
  ASSERT_TRUE(quick);
  EXPECT_EQ(encoder.levelsEncoded(), 8);
  EXPECT_NE(quick->image, fewer->image);
  EXPECT_TRUE(encoder.isEncoded(two, DxtQuality::Best));
  EXPECT_FALSE(encoder.isEncoded(four, DxtQuality::Quick));

  // Another crop or format is another picture.
  ImportSettings cropped = two;
  cropped.crop = QRect(10, 10, 150, 150);
  ASSERT_TRUE(encoder.encode(cropped, DxtQuality::Best));
  ImportSettings dxt1 = two;
  dxt1.code = Code::Dxt1;
  const auto other = encoder.encode(dxt1, DxtQuality::Best);
  ASSERT_TRUE(other);
  EXPECT_EQ(encoder.levelsEncoded(), 14);
  EXPECT_EQ(other->image, freshlyEncoded({64, 64}, picture, dxt1, DxtQuality::Best));
}

TEST(ImportPreviewerTest, TheQuickPreviewComesFirstAndTheImportKeepsTheBestOne) {
  const QImage picture = noisePicture({200, 200}, 9, false);
  portrait::PictureImport import = prepared({64, 64}, 4, picture);
  portrait::ImportPreviewer previewer(import);
  QSignalSpy ready(&previewer, &portrait::ImportPreviewer::previewReady);
  const ImportSettings settings{FitMode::Fill, Code::Dxt5, 4, {}};

  previewer.request(settings);
  ASSERT_TRUE(QTest::qWaitFor([&] { return previewer.isFinal(); }, 30000));
  ASSERT_EQ(ready.count(), 2);
  EXPECT_FALSE(ready.at(0).at(1).toBool());
  EXPECT_TRUE(ready.at(1).at(1).toBool());
  const auto kept = import.kept(settings);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->image, freshlyEncoded({64, 64}, picture, settings, DxtQuality::Best));

  // Asked again, the kept result comes at once, with nothing encoded.
  const int encoded = import.encoder()->levelsEncoded();
  previewer.request(settings);
  EXPECT_TRUE(previewer.isFinal());
  EXPECT_EQ(import.encoder()->levelsEncoded(), encoded);
}

TEST(ImportPreviewerTest, StoppingALargeEncodeTakesAMomentAndDeliversNothing) {
  portrait::PictureImport import = prepared({2048, 2048}, 0, smoothPicture({512, 512}));
  auto previewer = std::make_unique<portrait::ImportPreviewer>(import);
  QSignalSpy progress(previewer.get(), &portrait::ImportPreviewer::progressed);
  previewer->request({FitMode::Fill, Code::Dxt5, 0, {}});
  // The best encode of 2048x2048 takes seconds; its first percent is in.
  ASSERT_TRUE(QTest::qWaitFor([&] { return progress.count() > 0; }, 60000));
  ASSERT_FALSE(previewer->isFinal());
  QElapsedTimer stopping;
  stopping.start();
  previewer.reset();
  EXPECT_LT(stopping.elapsed(), 1000);
  EXPECT_FALSE(import.kept({FitMode::Fill, Code::Dxt5, 0, {}}));
}

}  // namespace
