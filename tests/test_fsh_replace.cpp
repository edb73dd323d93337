#include <gtest/gtest.h>

#include <QSet>
#include <QtEndian>
#include <cmath>

#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"
#include "fsh/replace_bitmap.h"
#include "support/fsh_fixture.h"

namespace {

using fsh::ErrorKind;

fsh::FshFile parsed(const QByteArray& bytes) {
  auto file = fsh::parseFsh(bytes);
  EXPECT_TRUE(file) << file.error().message.toStdString();
  return file ? std::move(*file) : fsh::FshFile{};
}

QImage decoded(const fsh::FshFile& file, int level = 0, int entry = 0) {
  auto image = fsh::decodeBitmap(file, entry, level);
  EXPECT_TRUE(image) << image.error().message.toStdString();
  return image ? std::move(*image) : QImage();
}

fsh::ReplaceOptions in(std::optional<uint8_t> code, std::optional<int> mipmaps = std::nullopt) {
  fsh::ReplaceOptions options;
  options.code = code;
  options.mipmapCount = mipmaps;
  return options;
}

QByteArray replaced(const QByteArray& bytes, const QImage& picture,
                    fsh::ReplaceOptions options = {}, int entry = 0) {
  auto out = fsh::replaceBitmap(parsed(bytes), entry, picture, options);
  EXPECT_TRUE(out) << out.error().message.toStdString();
  return out ? *out : QByteArray();
}

QImage withQuantisedPixels(QImage picture, uint8_t code) {
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      picture.setPixel(x, y, quantisedColour(code, picture.pixel(x, y)));
    }
  }
  return picture;
}

QImage withoutAlpha(QImage picture) { return withQuantisedPixels(std::move(picture), 0x7F); }

QImage alphaOf(const QImage& picture) {
  QImage alpha(picture.size(), QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const int a = qAlpha(picture.pixel(x, y));
      alpha.setPixel(x, y, qRgba(a, a, a, 255));
    }
  }
  return alpha;
}

class RoundTrip : public ::testing::TestWithParam<uint8_t> {};

// A 64x64 ARGB8888 portrait replaced in each code, read back. Exact codes get
// random pixels; DXT gets the smooth picture it is made for.
TEST_P(RoundTrip, ReadsBackWhatWasWritten) {
  const uint8_t code = GetParam();
  const QSize size(64, 64);
  const QByteArray original = singleBitmap(0x7D, noisePicture(size, 1)).build();
  switch (code) {
    case 0x7D: {
      const QImage picture = noisePicture(size, 2);
      EXPECT_EQ(decoded(parsed(replaced(original, picture, in(code)))), picture);
      break;
    }
    case 0x7F: {
      const QImage picture = noisePicture(size, 3);
      EXPECT_EQ(decoded(parsed(replaced(original, picture, in(code)))), withoutAlpha(picture));
      break;
    }
    case 0x78:
    case 0x7E:
    case 0x6D: {
      const QImage picture = noisePicture(size, 4);
      const QImage image = decoded(parsed(replaced(original, picture, in(code))));
      EXPECT_LE(largestChannelDifference(image, withQuantisedPixels(picture, code)), 1);
      break;
    }
    case 0x7B: {
      const QImage picture = fewColoursPicture(size, 256, 5);
      EXPECT_EQ(decoded(parsed(replaced(original, picture, in(code)))), picture);
      break;
    }
    default: {
      const bool alpha = code != 0x60;
      const QImage picture = smoothPicture(size, alpha);
      const QImage image = decoded(parsed(replaced(original, picture, in(code))));
      EXPECT_GE(psnr(image, picture), 35.0);
      // DXT3 stores alpha in 4 bits: within half a step of 17; DXT5 interpolates it.
      if (code == 0x61) {
        EXPECT_LE(largestChannelDifference(alphaOf(image), alphaOf(picture)), 9);
      } else if (code == 0x62) {
        EXPECT_GE(psnr(alphaOf(image), alphaOf(picture)), 35.0);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryCode, RoundTrip,
                         ::testing::Values(0x7D, 0x7F, 0x78, 0x7E, 0x6D, 0x7B, 0x60, 0x61, 0x62),
                         [](const ::testing::TestParamInfo<uint8_t>& info) {
                           return QStringLiteral("code%1").arg(info.param, 2, 16).toStdString();
                         });

// Three entries: a bitmap with mipmaps and four kinds of attachment, a shared
// palette, a second bitmap; a directory id and filler.
FshFixture richFixture(LastDistance lastDistance) {
  FshFixture fixture;
  fixture.directoryId = "G357";
  fixture.filler = "Filler text kept as it is";
  fixture.lastDistance = lastDistance;
  FixtureBlock bitmap = bitmapBlock(0x7D, noisePicture(QSize(16, 16), 1), 2);
  bitmap.centreX = 8;
  bitmap.centreY = 9;
  bitmap.xWord = 0x5007;
  FixtureBlock comment;
  comment.code = 0x6F;
  comment.data = QByteArray("\x01\x00\x00\x00portrait comment", 20);
  FixtureBlock name;
  name.code = 0x70;
  name.data = QByteArray("face\0\0\0\0", 8);
  FixtureBlock hotSpots;
  hotSpots.code = 0x7C;
  hotSpots.width = 2;
  hotSpots.data = QByteArray("\x01\x00\x02\x00\x03\x00\x04\x00", 8);
  fixture.entries = {
      {"face", {bitmap, comment, name, hotSpots}, QByteArray("tail", 4)},
      {"!pal", {paletteBlock(0x24, {0xFF102030, 0xFF405060})}, {}},
      {"img1", {bitmapBlock(0x78, noisePicture(QSize(4, 4), 2))}, {}},
  };
  return fixture;
}

QByteArrayView blockBytes(const fsh::FshFile& file, int entry, int block) {
  const fsh::Block& b = file.entries[entry].blocks[block];
  return QByteArrayView(file.bytes).sliced(b.offset, b.end - b.offset);
}

using KeepCase = std::tuple<uint8_t, LastDistance>;

class ReplaceKeeps : public ::testing::TestWithParam<KeepCase> {};

TEST_P(ReplaceKeeps, EveryByteOutsideTheBitmap) {
  const auto [code, lastDistance] = GetParam();
  const FshFixture fixture = richFixture(lastDistance);
  const fsh::FshFile before = parsed(fixture.build());
  const QByteArray out = replaced(before.bytes, smoothPicture(QSize(16, 16)), in(code));
  const fsh::FshFile after = parsed(out);

  EXPECT_EQ(qFromLittleEndian<quint32>(out.constData() + 4), uint32_t(out.size()));
  EXPECT_EQ(after.directoryId, "G357");
  // Header, directory names and filler: only the length word and the offsets may change.
  const qsizetype firstEntry = before.entries[0].offset;
  ASSERT_EQ(after.entries[0].offset, firstEntry);
  for (qsizetype i = 0; i < firstEntry; ++i) {
    const bool offsetWord = i >= 16 && (i - 16) % 8 >= 4 && i < 16 + 3 * 8;
    if ((i >= 4 && i < 8) || offsetWord) continue;
    EXPECT_EQ(out[i], before.bytes[i]) << "at " << i;
  }
  // The bitmap's header: only its code and next distance may change.
  const QByteArrayView oldHeader = QByteArrayView(before.bytes).sliced(firstEntry, 16);
  const QByteArrayView newHeader = QByteArrayView(out).sliced(firstEntry, 16);
  EXPECT_EQ(uchar(newHeader[0]), code);
  EXPECT_EQ(newHeader.sliced(4), oldHeader.sliced(4));

  // Every other block, byte for byte; an Indexed8 bitmap gained its own palette.
  ASSERT_EQ(after.entries.size(), 3);
  const int added = code == 0x7B ? 1 : 0;
  ASSERT_EQ(after.entries[0].blocks.size(), 4 + added);
  if (added) {
    EXPECT_EQ(after.entries[0].blocks[1].code, 0x2A);
  }
  for (int b = 1; b < 4; ++b) {
    QByteArray oldBlock = blockBytes(before, 0, b).toByteArray();
    QByteArray newBlock = blockBytes(after, 0, b + added).toByteArray();
    EXPECT_EQ(newBlock, oldBlock) << "block " << b;
  }
  for (int e = 1; e < 3; ++e) {
    EXPECT_EQ(after.entries[e].name, before.entries[e].name);
    EXPECT_EQ(blockBytes(after, e, 0), blockBytes(before, e, 0)) << "entry " << e;
  }
  // The last block of the entry ends with the entry's trailing bytes.
  EXPECT_TRUE(blockBytes(after, 0, 3 + added).endsWith("tail"));
  EXPECT_EQ(after.entries[0].blocks.last().nextDistance == 0, lastDistance == LastDistance::Zero);
  EXPECT_EQ(after.entries[0].blocks.first().mipmapCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(SomeCodes, ReplaceKeeps,
                         ::testing::Combine(::testing::Values(uint8_t(0x7D), uint8_t(0x60),
                                                              uint8_t(0x7F), uint8_t(0x7B)),
                                            ::testing::Values(LastDistance::Zero,
                                                              LastDistance::OwnSize)),
                         [](const ::testing::TestParamInfo<KeepCase>& info) {
                           return QStringLiteral("code%1%2")
                               .arg(std::get<0>(info.param), 2, 16)
                               .arg(std::get<1>(info.param) == LastDistance::Zero ? "LastZero"
                                                                                  : "LastOwnSize")
                               .toStdString();
                         });

TEST(ReplaceKeeps, InTheSameCodeOnlyThePixelsChange) {
  FshFixture fixture = richFixture(LastDistance::Zero);
  // Bytes between the levels that a rewrite of the whole block would lose.
  QByteArray& data = fixture.entries[0].blocks[0].data;
  data.append(16, '\x5A');
  const QByteArray before = fixture.build();
  const QByteArray out = replaced(before, noisePicture(QSize(16, 16), 8));
  ASSERT_EQ(out.size(), before.size());
  const qsizetype pixels = fixture.blockOffset(0, 0) + 16;
  const qsizetype pixelsEnd = pixels + 1024 + 256 + 64;
  for (qsizetype i = 0; i < out.size(); ++i) {
    if (i >= pixels && i < pixelsEnd) continue;
    EXPECT_EQ(out[i], before[i]) << "at " << i;
  }
}

// The smallest and largest channel of the mean of each 2^level square of the
// picture, premultiplied by alpha, against the codec's level, premultiplied too.
int largestMipmapError(const QImage& picture, const QImage& level, int scale) {
  int largest = 0;
  for (int y = 0; y < level.height(); ++y) {
    for (int x = 0; x < level.width(); ++x) {
      double sum[4] = {};
      for (int dy = 0; dy < scale; ++dy) {
        for (int dx = 0; dx < scale; ++dx) {
          const QRgb c = picture.pixel(x * scale + dx, y * scale + dy);
          const double a = qAlpha(c) / 255.0;
          sum[0] += qAlpha(c);
          sum[1] += qRed(c) * a;
          sum[2] += qGreen(c) * a;
          sum[3] += qBlue(c) * a;
        }
      }
      const QRgb got = qPremultiply(level.pixel(x, y));
      const int channels[4] = {qAlpha(got), qRed(got), qGreen(got), qBlue(got)};
      for (int i = 0; i < 4; ++i) {
        largest = std::max(largest, int(std::abs(channels[i] - sum[i] / (scale * scale)) + 0.5));
      }
    }
  }
  return largest;
}

TEST(ReplaceMipmaps, AreComputedFreshFromThePicture) {
  const QImage picture = smoothPicture(QSize(32, 32), true);
  const QByteArray original = singleBitmap(0x7D, noisePicture(QSize(32, 32), 1), 3).build();
  const fsh::FshFile file = parsed(replaced(original, picture));
  ASSERT_EQ(file.entries[0].blocks[0].mipmapCount(), 3);
  for (int level = 1; level <= 3; ++level) {
    SCOPED_TRACE(level);
    EXPECT_LE(largestMipmapError(picture, decoded(file, level), 1 << level), 2);
  }
}

TEST(ReplaceMipmaps, TheCountCanChange) {
  const QImage picture = smoothPicture(QSize(32, 16));
  const QByteArray none = singleBitmap(0x7D, picture).build();
  const fsh::FshFile four = parsed(replaced(none, picture, in(std::nullopt, 4)));
  EXPECT_EQ(four.entries[0].blocks[0].yWord, 0x4000);
  EXPECT_EQ(decoded(four, 4).size(), QSize(2, 1));

  const fsh::FshFile zero = parsed(replaced(four.bytes, picture, in(0x60, 0)));
  EXPECT_EQ(zero.entries[0].blocks[0].yWord, 0);
  EXPECT_EQ(zero.entries[0].blocks[0].dataSize(), 32 * 16 / 2);
}

TEST(ReplaceMipmaps, APackedBlockStaysPacked) {
  // 24x40 RGB888 with 3 mipmaps: packed and padded take the same 3840 bytes, so
  // only the levels' places tell them apart.
  const QSize size(24, 40);
  const QByteArray original =
      singleBitmap(0x7F, noisePicture(size, 1), 3, FixtureLevels::Packed).build();
  const QImage picture = noisePicture(size, 2, false);
  for (const uint8_t code : {uint8_t(0x7F), uint8_t(0x78)}) {
    const QByteArray out = replaced(original, picture, in(code));
    const int levelBytes = code == 0x7F ? 3 : 2;
    const qsizetype level3 = 48 + 16 + (24 * 40 + 12 * 20 + 6 * 10) * levelBytes;
    EXPECT_EQ(out.mid(level3, 3 * 5 * levelBytes), fixturePixels(code, decoded(parsed(out), 3)))
        << "code " << int(code);
  }
}

TEST(ReplaceCompressed, BlockDataIsCompressedAgain) {
  FshFixture fixture = richFixture(LastDistance::Zero);
  FixtureBlock& block = fixture.entries[0].blocks[0];
  block.code = 0xFD;
  block.yWord = 0;
  block.data = literalRefpack(block.data.left(16 * 16 * 4));
  const fsh::FshFile before = parsed(fixture.build());
  const QImage picture = smoothPicture(QSize(16, 16));
  for (const uint8_t code : {uint8_t(0x7D), uint8_t(0x6D)}) {
    const fsh::FshFile after = parsed(replaced(before.bytes, picture, in(code)));
    EXPECT_EQ(after.entries[0].blocks[0].code, code | 0x80);
    EXPECT_LE(largestChannelDifference(decoded(after), withQuantisedPixels(picture, code)), 1);
    for (int b = 1; b < 4; ++b) EXPECT_EQ(blockBytes(after, 0, b), blockBytes(before, 0, b));
  }
}

TEST(ReplaceCompressed, AFileCompressedAsWholeComesBackPlain) {
  const QImage picture = noisePicture(QSize(16, 16), 6);
  const QByteArray plain = singleBitmap(0x7D, noisePicture(QSize(16, 16), 5)).build();
  const QByteArray out = replaced(literalRefpack(plain, true), picture);
  EXPECT_TRUE(out.startsWith("SHPI"));
  EXPECT_EQ(qFromLittleEndian<quint32>(out.constData() + 4), uint32_t(out.size()));
  const fsh::FshFile file = parsed(out);
  EXPECT_FALSE(file.compressedAsWhole);
  EXPECT_EQ(decoded(file), picture);
  EXPECT_EQ(out.size(), plain.size());
}

TEST(ReplaceIndexed, RewritesTheBitmapsOwnPaletteInItsCode) {
  FshFixture fixture = richFixture(LastDistance::Zero);
  QImage indexed(16, 16, QImage::Format_Indexed8);
  indexed.setColorTable({0xFF000000, 0xFFFFFFFF});
  indexed.fill(1);
  fixture.entries[0].blocks[0] = bitmapBlock(0x7B, indexed);
  fixture.entries[0].blocks.insert(1, paletteBlock(0x24, indexed.colorTable()));
  const fsh::FshFile before = parsed(fixture.build());
  const QImage picture = fewColoursPicture(QSize(16, 16), 100, 3);
  const fsh::FshFile after = parsed(replaced(before.bytes, picture));
  ASSERT_EQ(after.entries[0].blocks.size(), 5);
  const fsh::Block& palette = after.entries[0].blocks[1];
  EXPECT_EQ(palette.code, 0x24);
  QSet<QRgb> colours;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) colours.insert(picture.pixel(x, y));
  }
  EXPECT_EQ(palette.width, colours.size());
  EXPECT_EQ(decoded(after), picture);
  EXPECT_EQ(blockBytes(after, 1, 0), blockBytes(before, 1, 0));
}

TEST(ReplaceIndexed, LeavesASharedPaletteAloneAndAddsItsOwn) {
  FshFixture fixture = richFixture(LastDistance::Zero);
  QImage indexed(16, 16, QImage::Format_Indexed8);
  indexed.setColorTable({0xFF000000, 0xFFFFFFFF});
  indexed.fill(1);
  fixture.entries[0].blocks[0] = bitmapBlock(0x7B, indexed);
  const fsh::FshFile before = parsed(fixture.build());
  const QImage picture = smoothPicture(QSize(16, 16), true);
  const fsh::FshFile after = parsed(replaced(before.bytes, picture, in(0x7B)));
  EXPECT_EQ(after.entries[0].blocks[1].code, 0x2A);
  EXPECT_EQ(blockBytes(after, 1, 0), blockBytes(before, 1, 0));
  const QImage image = decoded(after);
  EXPECT_GE(psnr(image, picture), 30.0);
  EXPECT_GE(psnr(alphaOf(image), alphaOf(picture)), 30.0);
}

TEST(ReplaceUnknownCode, KeepsItsBytesUnlessAnotherCodeIsChosen) {
  FshFixture fixture = richFixture(LastDistance::Zero);
  fixture.entries[0].blocks[0].code = 0x79;
  const fsh::FshFile file = parsed(fixture.build());
  const QImage picture = noisePicture(QSize(16, 16), 4);
  const auto kept = fsh::replaceMainBitmap(file, picture);
  ASSERT_FALSE(kept);
  EXPECT_EQ(kept.error().kind, ErrorKind::Unsupported);
  EXPECT_EQ(kept.error().message.toStdString(), "block at 0x50: unsupported pixel format 0x79");

  const fsh::FshFile after = parsed(replaced(fixture.build(), picture, in(0x7D)));
  EXPECT_EQ(decoded(after), picture);
  for (int b = 1; b < 4; ++b) EXPECT_EQ(blockBytes(after, 0, b), blockBytes(file, 0, b));
}

struct RefusalCase {
  const char* name;
  QSize pictureSize;
  fsh::ReplaceOptions options;
  std::function<void(FixtureBlock&)> change;
  ErrorKind kind;
  const char* message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class ReplaceRefuses : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ReplaceRefuses, WhatCannotBeWritten) {
  const RefusalCase& c = GetParam();
  FshFixture fixture = singleBitmap(0x7D, noisePicture(QSize(12, 8), 1));
  c.change(fixture.entries[0].blocks[0]);
  const auto out =
      fsh::replaceMainBitmap(parsed(fixture.build()), noisePicture(c.pictureSize, 2), c.options);
  ASSERT_FALSE(out);
  EXPECT_EQ(out.error().kind, c.kind);
  EXPECT_EQ(out.error().message.toStdString(), c.message);
}

void unchanged(FixtureBlock&) {}

INSTANTIATE_TEST_SUITE_P(
    Requests, ReplaceRefuses,
    ::testing::Values(
        RefusalCase{"other size",
                    {10, 10},
                    {},
                    unchanged,
                    ErrorKind::InvalidRequest,
                    "the picture is 10x10, the bitmap at 0x30 is 12x8"},
        RefusalCase{"unknown target",
                    {12, 8},
                    in(0x79),
                    unchanged,
                    ErrorKind::Unsupported,
                    "block at 0x30: unsupported pixel format 0x79"},
        RefusalCase{"palette target",
                    {12, 8},
                    in(0x2A),
                    unchanged,
                    ErrorKind::Unsupported,
                    "block at 0x30: unsupported pixel format 0x2A"},
        RefusalCase{"too many mipmaps",
                    {12, 8},
                    in(std::nullopt, 16),
                    unchanged,
                    ErrorKind::InvalidRequest,
                    "block at 0x30: 16 mipmaps asked, the count must be 0 to 15"},
        RefusalCase{"indivisible",
                    {12, 8},
                    in(std::nullopt, 3),
                    unchanged,
                    ErrorKind::InvalidRequest,
                    "block at 0x30: 3 mipmaps need both sides divisible by 8, the bitmap is 12x8"},
        RefusalCase{"y position",
                    {12, 8},
                    in(std::nullopt, 1),
                    [](FixtureBlock& b) { b.yWord = 0x0005; },
                    ErrorKind::InvalidRequest,
                    "block at 0x30: mipmaps need the y position 0, the bitmap's is 5"},
        RefusalCase{"compressed",
                    {12, 8},
                    in(std::nullopt, 1),
                    [](FixtureBlock& b) {
                      b.code = 0xFD;
                      b.data = literalRefpack(b.data);
                    },
                    ErrorKind::InvalidRequest,
                    "block at 0x30: a compressed bitmap cannot have mipmaps"},
        RefusalCase{"too wide",
                    {12, 8},
                    {},
                    [](FixtureBlock& b) { b.width = 5000; },
                    ErrorKind::TooLarge,
                    "block at 0x30: width 5000 is larger than 4096"}));

TEST(ReplaceRefuses, APaletteEntry) {
  const fsh::FshFile file = parsed(richFixture(LastDistance::Zero).build());
  const auto out = fsh::replaceBitmap(file, 1, noisePicture(QSize(2, 1), 1));
  ASSERT_FALSE(out);
  EXPECT_EQ(out.error().message.toStdString(),
            "block at 0x614: entry \"!pal\" holds a palette, not a bitmap");
}

}  // namespace
