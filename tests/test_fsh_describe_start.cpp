// Describing an image from its first bytes: the answer reading all of it
// gives, or none where the first bytes cannot tell.
#include <gtest/gtest.h>

#include "fsh/bitmap_decoder.h"
#include "fsh/describe.h"
#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"
#include "support/fsh_fixture.h"

namespace {

using namespace fsh::Code;

QByteArray portrait(uint8_t code, int mipmaps = 0) {
  return singleBitmap(code, smoothPicture({64, 64}), mipmaps).build();
}

// Pixel data cut short by `missing` bytes, the length word kept true.
QByteArray cutShort(QByteArray bytes, int missing) {
  bytes.chop(missing);
  const auto length = static_cast<uint32_t>(bytes.size());
  for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>(length >> (8 * i));
  return bytes;
}

TEST(DescribeFromStart, TheHeadersAloneDescribeAnUncompressedBitmap) {
  for (const uint8_t code : {Dxt1, Dxt5, Argb8888, Rgb565}) {
    const QByteArray bytes = portrait(code, 3);
    const auto quick = fsh::describeFromStart(QByteArrayView(bytes).first(64), bytes.size());
    ASSERT_TRUE(quick && *quick) << int(code);
    const auto whole = fsh::describe(*fsh::parseFsh(bytes));
    EXPECT_EQ((*quick)->width, 64);
    EXPECT_EQ((*quick)->code, code);
    EXPECT_EQ((*quick)->mipmapCount, 3);
    EXPECT_EQ((*quick)->formatName, whole->formatName);
  }
}

// The same fault, in the same words, as decoding the whole image finds.
TEST(DescribeFromStart, PixelDataCutShortIsTheDecodersFault) {
  const QByteArray bytes = cutShort(portrait(Argb8888), 100);
  const auto quick = fsh::describeFromStart(QByteArrayView(bytes).first(64), bytes.size());
  const auto decoded = fsh::checkMainBitmapDecodes(*fsh::parseFsh(bytes));
  ASSERT_TRUE(quick && !*quick);
  ASSERT_FALSE(decoded);
  EXPECT_EQ(quick->error().message, decoded.error().message);
}

struct Undecided {
  const char* name;
  QByteArray bytes;
  qsizetype startLength;
};

class DescribeFromStartUndecided : public ::testing::TestWithParam<Undecided> {};

TEST_P(DescribeFromStartUndecided, LeavesItToTheWholeImage) {
  const QByteArray& bytes = GetParam().bytes;
  EXPECT_FALSE(
      fsh::describeFromStart(QByteArrayView(bytes).first(GetParam().startLength), bytes.size()));
}

QByteArray compressedBlock() {
  FshFixture fixture = singleBitmap(Argb8888, smoothPicture({16, 16}));
  fixture.entries[0].blocks[0].code |= fsh::Layout::CompressedFlag;
  fixture.entries[0].blocks[0].data = literalRefpack(fixture.entries[0].blocks[0].data);
  return fixture.build();
}

QByteArray indexed() {
  FshFixture fixture = singleBitmap(Indexed8, fewColoursPicture({16, 16}, 4, 1));
  fixture.entries[0].blocks << paletteBlock(PaletteArgb8888, {0xFF000000, 0xFFFFFFFF});
  return fixture.build();
}

QByteArray withAttachment() {
  FshFixture fixture = singleBitmap(Dxt1, smoothPicture({64, 64}));
  FixtureBlock name;
  name.code = Name;
  name.data = "portrait";
  fixture.entries[0].blocks << name;
  return fixture.build();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DescribeFromStartUndecided,
    ::testing::Values(Undecided{"CompressedPixelData", compressedBlock(), 64},
                      Undecided{"Palette", indexed(), 64},
                      Undecided{"CompressedAsWhole", literalRefpack(portrait(Dxt1), true), 64},
                      Undecided{"DirectoryPastTheStart", portrait(Dxt1), 20},
                      Undecided{"AttachmentPastTheStart", withAttachment(), 64}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
