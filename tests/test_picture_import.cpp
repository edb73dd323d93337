// What a picture import starts from: the files Import takes as pictures, how
// many mipmaps a portrait can take, and the suffix a save dialog adds.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtEndian>

#include "fsh/fsh_layout.h"
#include "portrait/input_file.h"
#include "portrait/picture_import.h"
#include "support/archive_fixture.h"
#include "support/fsh_fixture.h"
#include "ui/qt_file_dialog.h"

namespace {

namespace Code = fsh::Code;

struct FormatCase {
  const char* format;  // as Qt names it; "gif" is read only, so its bytes are given
  QSize size;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.format; }

// One red pixel.
const char OnePixelGif[] =
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00"
    "\x00\x02\x02\x44\x01\x00;";

class PictureFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PictureFormatTest, EveryOfferedFormatIsReadAsAPicture) {
  QTemporaryDir dir;
  QByteArray bytes;
  if (QByteArray(GetParam().format) == "gif") {
    bytes = QByteArray(OnePixelGif, sizeof OnePixelGif - 1);
  } else {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(smoothPicture(GetParam().size).save(&buffer, GetParam().format));
  }
  // Named as nothing in particular: the content decides.
  const auto source = portrait::readInputFile(writeFile(dir.filePath("picture.dat"), bytes));
  ASSERT_TRUE(source);
  EXPECT_EQ(source->kind, portrait::InputKind::Picture);
  EXPECT_EQ(source->picture.size(), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureFormatTest,
                         ::testing::Values(FormatCase{"png", {20, 10}},
                                           FormatCase{"jpeg", {20, 10}},
                                           FormatCase{"bmp", {20, 10}},
                                           FormatCase{"webp", {20, 10}}, FormatCase{"gif", {1, 1}}),
                         [](const auto& info) { return std::string(info.param.format); });

// One list of formats for both front ends: PPM, which the window once refused.
TEST(ImportSourceTest, EveryFormatQtReadsIsAPicture) {
  QTemporaryDir dir;
  QByteArray ppm;
  QBuffer buffer(&ppm);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(smoothPicture({8, 8}).save(&buffer, "ppm"));
  const auto source = portrait::readInputFile(writeFile(dir.filePath("picture.ppm"), ppm));
  ASSERT_TRUE(source);
  EXPECT_EQ(source->kind, portrait::InputKind::Picture);
}

// A small file that declares a huge picture is refused before a pixel is
// allocated, with the size it declares.
TEST(ImportSourceTest, APictureOfTooManyPixelsIsRefusedBeforeDecoding) {
  QTemporaryDir dir;
  // A 69-byte PNG whose header declares 60000 x 60000 pixels.
  const QByteArray png = QByteArray::fromHex(
      "89504e470d0a1a0a0000000d494844520000ea600000ea60080600000080d275420000000c49444154789c6360"
      "a00c000000400001b7347cef0000000049454e44ae426082");
  QElapsedTimer timer;
  timer.start();
  const auto source = portrait::readInputFile(writeFile(dir.filePath("huge.png"), png));
  EXPECT_LT(timer.elapsed(), 100);
  ASSERT_FALSE(source);
  EXPECT_EQ(source.error().pictureProblem, portrait::Error::PictureProblem::TooManyPixels);
  EXPECT_EQ(source.error().size, QSize(60000, 60000));
}

// TGA files as painting programs write them: Qt's recognition takes the header
// for an icon's or for nothing, its reader wants the footer TGA 2.0 added, and
// that footer lies past the start Import first looks at.
struct TgaCase {
  const char* name;
  QByteArray imageId;
  bool footer;
};

void PrintTo(const TgaCase& c, std::ostream* os) { *os << c.name; }

// A 32-bit TGA of smoothPicture(size), top row first.
QByteArray tgaFile(QSize size, const QByteArray& imageId, bool footer) {
  QByteArray header(18, '\0');
  header[0] = char(imageId.size());
  header[2] = 2;  // true colour, uncompressed
  qToLittleEndian<quint16>(quint16(size.width()), header.data() + 12);
  qToLittleEndian<quint16>(quint16(size.height()), header.data() + 14);
  header[16] = 32;
  header[17] = 0x28;  // 8 alpha bits, top-left origin
  QByteArray bytes = header + imageId;
  const QImage picture = smoothPicture(size).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y)
    bytes.append(reinterpret_cast<const char*>(picture.constScanLine(y)), size.width() * 4);
  if (footer) bytes += QByteArray(8, '\0') + QByteArray("TRUEVISION-XFILE.", 18);
  return bytes;
}

class TgaImportTest : public ::testing::TestWithParam<TgaCase> {};

TEST_P(TgaImportTest, ATgaFileIsReadAsThePictureItHolds) {
  QTemporaryDir dir;
  const QSize size(64, 48);  // longer than the start Import looks at first
  const auto source = portrait::readInputFile(
      writeFile(dir.filePath("face.tga"), tgaFile(size, GetParam().imageId, GetParam().footer)));
  ASSERT_TRUE(source);
  ASSERT_EQ(source->kind, portrait::InputKind::Picture);
  const QImage expected = smoothPicture(size).convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(source->picture.convertToFormat(QImage::Format_ARGB32), expected);
}

// Qt's reader calls a TGA file whole however early it ends, its missing pixels
// transparent black; Import refuses it instead of making that a portrait.
TEST(TgaCutShortTest, ATgaFileEndingBeforeItsPixelsIsRefused) {
  QTemporaryDir dir;
  const QByteArray whole = tgaFile(QSize(64, 48), "id", false);
  for (const qsizetype length : {qsizetype(18 + 2), whole.size() / 2, whole.size() - 1}) {
    const auto source =
        portrait::readInputFile(writeFile(dir.filePath("cut.tga"), whole.left(length)));
    ASSERT_FALSE(source) << length;
    EXPECT_EQ(source.error().pictureProblem, portrait::Error::PictureProblem::CutShort) << length;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, TgaImportTest,
                         ::testing::Values(TgaCase{"TakenForAnIcon", {}, true},
                                           TgaCase{"WithAnImageId", "painted by hand", true},
                                           TgaCase{"WithoutTheFooter", {}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct MipmapCase {
  const char* name;
  uint16_t width;
  uint16_t height;
  uint16_t yWord;
  bool compressed;
  int maximum;
};

void PrintTo(const MipmapCase& c, std::ostream* os) { *os << c.name; }

class MaxMipmapTest : public ::testing::TestWithParam<MipmapCase> {};

TEST_P(MaxMipmapTest, HalvingStopsWhereASideNoLongerDivides) {
  const MipmapCase& c = GetParam();
  FixtureBlock block = bitmapBlock(Code::Argb8888, smoothPicture({c.width, c.height}));
  block.yWord = c.yWord;
  if (c.compressed) {
    block.code |= fsh::Layout::CompressedFlag;
    block.data = literalRefpack(block.data);
  }
  FshFixture fixture;
  fixture.entries = {FixtureEntry{"img0", {block}, {}}};
  const auto import =
      portrait::PictureImport::prepare(fixture.build(), smoothPicture({4, 4}), "p.png");
  ASSERT_TRUE(import);
  EXPECT_EQ(import->maxMipmapCount(), c.maximum);
  EXPECT_EQ(import->portraitSize(), QSize(c.width, c.height));
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, MaxMipmapTest,
                         ::testing::Values(MipmapCase{"Square256", 256, 256, 0, false, 8},
                                           MipmapCase{"Wide64x32", 64, 32, 0, false, 5},
                                           MipmapCase{"Odd48", 48, 48, 0, false, 4},
                                           MipmapCase{"Odd30", 30, 30, 0, false, 1},
                                           MipmapCase{"Seven", 7, 7, 0, false, 0},
                                           MipmapCase{"Compressed", 64, 64, 0, true, 0},
                                           MipmapCase{"RaisedOffTheTop", 64, 64, 5, false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SuffixCase {
  int index;
  const char* suffix;
};

class FilterSuffixTest : public ::testing::TestWithParam<SuffixCase> {};

TEST_P(FilterSuffixTest, ThePatternOfTheChosenFilterGivesTheSuffix) {
  const QString filter =
      "FSH files (*.fsh)|*.fsh|PNG pictures (*.png)|*.png|JPEG pictures (*.jpg "
      "*.jpeg)|*.jpg;*.jpeg|"
      "All files (*.*)|*.*";
  EXPECT_EQ(ui::firstSuffix(filter, GetParam().index), GetParam().suffix);
}

INSTANTIATE_TEST_SUITE_P(Filters, FilterSuffixTest,
                         ::testing::Values(SuffixCase{0, "fsh"}, SuffixCase{1, "png"},
                                           SuffixCase{2, "jpg"}, SuffixCase{3, ""},
                                           SuffixCase{4, ""}, SuffixCase{-1, ""}));

}  // namespace
