#include <gtest/gtest.h>
#include <squish.h>

#include <functional>
#include <random>
#include <vector>

#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"
#include "support/fsh_fixture.h"

namespace {

using fsh::ErrorKind;

// What libsquish decodes from DXT blocks, as ARGB32: the reference for the codec's own decoder.
QImage squishDecoded(uint8_t type, const QByteArray& blocks, QSize size) {
  std::vector<uchar> rgba(size_t(size.width()) * size.height() * 4);
  const int flags = type == 0x60 ? squish::kDxt1 : type == 0x61 ? squish::kDxt3 : squish::kDxt5;
  squish::DecompressImage(rgba.data(), size.width(), size.height(), blocks.constData(), flags);
  QImage image(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      const uchar* p = &rgba[(size_t(y) * size.width() + x) * 4];
      image.setPixel(x, y, qRgba(p[0], p[1], p[2], p[3]));
    }
  }
  return image;
}

fsh::FshFile parsed(const QByteArray& bytes) {
  auto file = fsh::parseFsh(bytes);
  EXPECT_TRUE(file) << file.error().message.toStdString();
  return std::move(*file);
}

QImage decoded(const fsh::FshFile& file, int level = 0, int entry = 0) {
  auto image = fsh::decodeBitmap(file, entry, level);
  EXPECT_TRUE(image) << image.error().message.toStdString();
  if (!image) return {};
  EXPECT_EQ(image->format(), QImage::Format_ARGB32);
  return std::move(*image);
}

using LevelCase = std::tuple<uint8_t, FixtureLevels>;

std::string levelCaseName(const ::testing::TestParamInfo<LevelCase>& info) {
  const auto [code, layout] = info.param;
  return QStringLiteral("code%1%2")
      .arg(code, 2, 16, QLatin1Char('0'))
      .arg(layout == FixtureLevels::Padded ? "Padded" : "Packed")
      .toStdString();
}

class DecodeLevels : public ::testing::TestWithParam<LevelCase> {};

// 24x40 with 3 mipmaps: the levels 12x20, 6x10 and 3x5 end off 16-byte boundaries
// in most codes, so the two layouts place them differently; DXT levels cover partial blocks.
TEST_P(DecodeLevels, EveryLevelShowsWhatWasStored) {
  const struct {
    uint8_t code;
    FixtureLevels layout;
  } c{std::get<0>(GetParam()), std::get<1>(GetParam())};
  const QSize size(24, 40);
  QImage picture = c.code == 0x7B
                       ? fewColoursPicture(size, 40, 5).convertToFormat(QImage::Format_Indexed8)
                       : noisePicture(size, 4);
  FshFixture fixture = singleBitmap(c.code, picture, 3, c.layout);
  if (c.code == 0x7B) fixture.entries[0].blocks.append(paletteBlock(0x2A, picture.colorTable()));
  const fsh::FshFile file = parsed(fixture.build());
  const QList<QImage> levels = fixtureMipmaps(picture, 3);
  for (int i = 0; i <= 3; ++i) {
    SCOPED_TRACE(i);
    const QImage level = levels[i].convertToFormat(QImage::Format_ARGB32);
    const QImage image = decoded(file, i);
    ASSERT_EQ(image.size(), level.size());
    switch (c.code) {
      case 0x7D:
      case 0x7B:
        EXPECT_EQ(image, level);
        break;
      case 0x60:
      case 0x61:
      case 0x62:
        EXPECT_EQ(image, squishDecoded(c.code, fixturePixels(c.code, level), level.size()));
        break;
      default: {
        QImage expected = level;
        for (int y = 0; y < expected.height(); ++y) {
          for (int x = 0; x < expected.width(); ++x) {
            expected.setPixel(x, y, quantisedColour(c.code, expected.pixel(x, y)));
          }
        }
        EXPECT_LE(largestChannelDifference(image, expected), 1);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCodeBothLayouts, DecodeLevels,
    ::testing::Combine(::testing::Values(uint8_t(0x7D), uint8_t(0x7F), uint8_t(0x78), uint8_t(0x7E),
                                         uint8_t(0x6D), uint8_t(0x7B), uint8_t(0x60), uint8_t(0x61),
                                         uint8_t(0x62)),
                       ::testing::Values(FixtureLevels::Padded, FixtureLevels::Packed)),
    levelCaseName);

struct DxtCase {
  uint8_t code;
  QSize size;
};

void PrintTo(const DxtCase& c, std::ostream* os) {
  *os << std::hex << "0x" << int(c.code) << std::dec << " " << c.size.width() << "x"
      << c.size.height();
}

class DecodeDxt : public ::testing::TestWithParam<DxtCase> {};

// Random blocks reach every mode: DXT1 with and without transparency, DXT5's
// six- and eight-value alpha ramps.
TEST_P(DecodeDxt, RandomBlocksDecodeAsLibsquishDecodesThem) {
  const DxtCase& c = GetParam();
  std::mt19937 random(c.size.width() * 131 + c.code);
  const int blockBytes = c.code == 0x60 ? 8 : 16;
  QByteArray blocks(((c.size.width() + 3) / 4) * ((c.size.height() + 3) / 4) * blockBytes, '\0');
  for (char& b : blocks) b = char(random());
  FshFixture fixture = singleBitmap(0x7D, noisePicture(c.size, 1));
  fixture.entries[0].blocks[0].code = c.code;
  fixture.entries[0].blocks[0].data = blocks;
  EXPECT_EQ(decoded(parsed(fixture.build())), squishDecoded(c.code, blocks, c.size));
}

INSTANTIATE_TEST_SUITE_P(Sizes, DecodeDxt,
                         ::testing::Values(DxtCase{0x60, {64, 64}}, DxtCase{0x61, {64, 64}},
                                           DxtCase{0x62, {64, 64}}, DxtCase{0x60, {1, 1}},
                                           DxtCase{0x62, {2, 2}}, DxtCase{0x61, {7, 3}},
                                           DxtCase{0x60, {13, 6}}, DxtCase{0x62, {5, 9}}));

enum class PaletteHome { Attached, SharedEntry, OtherEntry };

using PaletteCase = std::tuple<uint8_t, PaletteHome>;

std::string paletteCaseName(const ::testing::TestParamInfo<PaletteCase>& info) {
  const auto [code, home] = info.param;
  const char* homes[] = {"Attached", "SharedEntry", "OtherEntry"};
  return QStringLiteral("code%1%2")
      .arg(code, 2, 16, QLatin1Char('0'))
      .arg(homes[int(home)])
      .toStdString();
}

// The colour a reader shows for a palette entry stored in each palette code.
QRgb storedColour(uint8_t code, QRgb c) {
  switch (code) {
    case 0x22:
      return qRgb(qRed(c) >> 2 << 2, qGreen(c) >> 2 << 2, qBlue(c) >> 2 << 2);
    case 0x24:
      return c | 0xFF000000u;
    case 0x29:
      return quantisedColour(0x78, c);
    case 0x2D:
      return quantisedColour(0x7E, c);
    default:
      return c;
  }
}

class DecodeIndexed : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(DecodeIndexed, TakesColoursFromTheBitmapsPalette) {
  const struct {
    uint8_t code;
    PaletteHome home;
  } c{std::get<0>(GetParam()), std::get<1>(GetParam())};
  const QImage picture =
      fewColoursPicture(QSize(16, 8), 200, 9).convertToFormat(QImage::Format_Indexed8);
  QList<QRgb> colours = picture.colorTable();
  for (int i = 0; i < colours.size(); i += 3) colours[i] &= 0x00FFFFFF | (uint32_t(i) << 24);
  FshFixture fixture = singleBitmap(0x7B, picture);
  const FixtureBlock palette = paletteBlock(c.code, colours);
  // A decoy that a bitmap with its own palette, or with a "!pal" entry, must not use.
  const FixtureBlock decoy = paletteBlock(0x2A, QList<QRgb>(256, 0xFF00FF00));
  switch (c.home) {
    case PaletteHome::Attached:
      fixture.entries[0].blocks.append(palette);
      fixture.entries.append({"!pal", {decoy}, {}});
      break;
    case PaletteHome::SharedEntry:
      fixture.entries.prepend({"pal1", {decoy}, {}});
      fixture.entries.append({"!pal", {palette}, {}});
      break;
    case PaletteHome::OtherEntry:
      fixture.entries.append({"pal2", {palette}, {}});
      break;
  }
  const fsh::FshFile file = parsed(fixture.build());
  const int entry = c.home == PaletteHome::SharedEntry ? 1 : 0;
  ASSERT_EQ(fsh::mainBitmapEntry(file), entry);
  const QImage image = decoded(file, 0, entry);
  QImage expected(picture.size(), QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      expected.setPixel(x, y, storedColour(c.code, colours[picture.pixelIndex(x, y)]));
    }
  }
  EXPECT_LE(largestChannelDifference(image, expected), 1);
}

int warningsSeen = 0;

// The fixture indexes a picture that is not indexed yet by its own colours,
// without a warning for each pixel to bury the warnings that matter.
TEST(DecodeIndexedFixture, APictureNotYetIndexedIsIndexedByItsOwnColours) {
  const QImage picture = fewColoursPicture(QSize(8, 4), 3, 2);
  warningsSeen = 0;
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
        if (type == QtWarningMsg) ++warningsSeen;
      });
  FshFixture fixture = singleBitmap(0x7B, picture);
  qInstallMessageHandler(previous);
  fixture.entries[0].blocks.append(paletteBlock(0x2A, indexedPicture(picture).colorTable()));
  EXPECT_EQ(warningsSeen, 0);
  EXPECT_EQ(largestChannelDifference(decoded(parsed(fixture.build())), picture), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPaletteCodeAndHome, DecodeIndexed,
    ::testing::Combine(::testing::Values(uint8_t(0x22), uint8_t(0x24), uint8_t(0x2A), uint8_t(0x29),
                                         uint8_t(0x2D)),
                       ::testing::Values(PaletteHome::Attached, PaletteHome::SharedEntry,
                                         PaletteHome::OtherEntry)),
    paletteCaseName);

TEST(DecodeIndexed, WithoutAPaletteIndicesAreGreyAndPastItsEndTransparent) {
  QImage indices(4, 1, QImage::Format_Indexed8);
  indices.setColorCount(256);
  for (int x = 0; x < 4; ++x) indices.setPixel(x, 0, uint(x * 60));
  FshFixture fixture = singleBitmap(0x7B, indices);
  EXPECT_EQ(decoded(parsed(fixture.build())).pixel(3, 0), qRgb(180, 180, 180));

  fixture.entries[0].blocks.append(paletteBlock(0x2A, {0xFF112233, 0x80445566}));
  const QImage image = decoded(parsed(fixture.build()));
  EXPECT_EQ(image.pixel(0, 0), 0xFF112233u);
  EXPECT_EQ(image.pixel(1, 0), 0u);
}

TEST(DecodeCompressed, BlockDataIsDecompressedAndCarriesNoMipmaps) {
  const QImage picture = noisePicture(QSize(8, 8), 11);
  FshFixture fixture = singleBitmap(0x7D, picture);
  FixtureBlock& block = fixture.entries[0].blocks[0];
  block.code = 0xFD;
  block.yWord = 0x1000;
  block.data = literalRefpack(block.data);
  const fsh::FshFile file = parsed(fixture.build());
  EXPECT_EQ(decoded(file), picture);
  EXPECT_FALSE(fsh::decodeBitmap(file, 0, 1));
}

struct FaultCase {
  const char* name;
  FshFixture fixture;
  int level;
  ErrorKind kind;
  const char* message;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

// A 4x4 ARGB8888 bitmap whose block starts at 0x30.
FshFixture fourByFour() { return singleBitmap(0x7D, noisePicture(QSize(4, 4), 3)); }

FaultCase withBlock(const char* name, std::function<void(FixtureBlock&)> change, ErrorKind kind,
                    const char* message, int level = 0) {
  FshFixture fixture = fourByFour();
  change(fixture.entries[0].blocks[0]);
  return {name, fixture, level, kind, message};
}

FaultCase shortPalette() {
  QImage indices(4, 4, QImage::Format_Indexed8);
  indices.setColorCount(4);
  indices.fill(0);
  FshFixture fixture = singleBitmap(0x7B, indices);
  FixtureBlock palette = paletteBlock(0x2A, {1, 2});
  palette.width = 10;
  fixture.entries[0].blocks.append(palette);
  return {"short palette", fixture, 0, ErrorKind::Malformed,
          "palette block at 0x50: 10 colours need 40 bytes, the block has 16"};
}

FaultCase missingMipmaps() {
  FshFixture fixture = singleBitmap(0x7D, noisePicture(QSize(8, 8), 3));
  fixture.entries[0].blocks[0].yWord = 0x3000;
  return {"missing mipmaps", fixture, 1, ErrorKind::Malformed,
          "block at 0x30: level 1 of 4x4 ARGB8888 needs 64 bytes from 256 of the pixel data, which "
          "has 256"};
}

class DecodeFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(DecodeFaults, AreReportedWithTheBlock) {
  const FaultCase& c = GetParam();
  const auto image = fsh::decodeBitmap(parsed(c.fixture.build()), 0, c.level);
  ASSERT_FALSE(image);
  EXPECT_EQ(image.error().kind, c.kind);
  EXPECT_EQ(image.error().message.toStdString(), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    WhatCanGoWrong, DecodeFaults,
    ::testing::Values(
        withBlock(
            "wide", [](FixtureBlock& b) { b.width = 4097; }, ErrorKind::TooLarge,
            "block at 0x30: width 4097 is larger than 4096"),
        withBlock(
            "tall", [](FixtureBlock& b) { b.height = 65535; }, ErrorKind::TooLarge,
            "block at 0x30: height 65535 is larger than 4096"),
        withBlock(
            "empty", [](FixtureBlock& b) { b.width = 0; }, ErrorKind::Malformed,
            "block at 0x30: width 0 leaves no picture"),
        withBlock(
            "short", [](FixtureBlock& b) { b.data.truncate(32); }, ErrorKind::Malformed,
            "block at 0x30: level 0 of 4x4 ARGB8888 needs 64 bytes from 0 of the pixel "
            "data, which has 32"),
        withBlock(
            "unknown code", [](FixtureBlock& b) { b.code = 0x79; }, ErrorKind::Unsupported,
            "block at 0x30: unsupported pixel format 0x79"),
        withBlock(
            "no such level", [](FixtureBlock&) {}, ErrorKind::InvalidRequest,
            "block at 0x30: there is no level 1, the bitmap has 0 mipmaps", 1),
        withBlock(
            "broken stream",
            [](FixtureBlock& b) {
              b.code = 0xFD;
              b.data = literalRefpack(b.data).left(20);
            },
            ErrorKind::Malformed,
            "block at 0x30: RefPack stream ends inside the literal run at 0x5: 64 bytes "
            "announced, 26 left"),
        shortPalette(), missingMipmaps()));

TEST(DecodeFaults, ALevelThatIsThereDecodesWhenALaterOneIsMissing) {
  const fsh::FshFile file = parsed(missingMipmaps().fixture.build());
  EXPECT_EQ(decoded(file, 0).size(), QSize(8, 8));
}

}  // namespace
