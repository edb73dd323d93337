// Pictures in and out through the window's Import and Export: what is written,
// what the user is asked, and that a refusal or a cancel writes nothing.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include "archive/portrait_image.h"
#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"
#include "fsh/pixel_formats.h"
#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/fsh_fixture.h"
#include "support/pixel_checks.h"
#include "support/portrait_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/portrait_window.h"

namespace {

namespace Code = fsh::Code;
using portrait::FitMode;

class PictureCommandTest : public ::testing::Test {
 protected:
  QString loadPortrait(const QByteArray& image) {
    archivePath = writeFile(dir.filePath("ab12cd3.big"),
                            ArchiveFixture::playerPackage().withImage(image).build());
    clickWith("loadButton", archivePath);
    EXPECT_TRUE(ui.messages->messages.empty());
    return archivePath;
  }
  void clickWith(const char* button, const QString& answer) {
    ui.dialogs->nextFileName(answer);
    ui.click(button);
  }
  QString savePicture(const QImage& picture, const QString& name) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(picture.save(path));
    return path;
  }
  QImage exportedPicture(const QString& name) {
    const QString path = dir.filePath(name);
    clickWith("exportButton", path);
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
  }
  std::vector<RecordedMessage>& messages() { return ui.messages->messages; }

  QTemporaryDir dir;
  WindowUnderTest ui;
  QString archivePath;
};

struct CodeCase {
  const char* name;
  uint8_t code;
  int mipmaps;
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

const CodeCase AllCodes[] = {
    {"Dxt1", Code::Dxt1, 3},         {"Dxt3", Code::Dxt3, 0},
    {"Dxt5", Code::Dxt5, 6},         {"Argb8888", Code::Argb8888, 0},
    {"Rgb888", Code::Rgb888, 2},     {"Rgb565", Code::Rgb565, 0},
    {"Argb1555", Code::Argb1555, 0}, {"Argb4444", Code::Argb4444, 1},
    {"Indexed8", Code::Indexed8, 0},
};

class PngExportTest : public PictureCommandTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(PngExportTest, IsPixelExactToTheDecode) {
  const QByteArray image =
      portraitImage(GetParam().code, paintedPortrait({64, 64}), GetParam().mipmaps);
  loadPortrait(image);
  const QImage exported = exportedPicture("face.png");
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(samePixels(decodedImage(image), exported));
  EXPECT_EQ(ui.window->state().exportPath, dir.filePath("face.png"));
}

INSTANTIATE_TEST_SUITE_P(Codes, PngExportTest, ::testing::ValuesIn(AllCodes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PictureCommandTest, PicturesWithoutAlphaAreExportedOverWhite) {
  const QByteArray image = portraitImage(Code::Argb8888, paintedPortrait({64, 64}));
  loadPortrait(image);
  QImage overWhite(64, 64, QImage::Format_RGB32);
  overWhite.fill(Qt::white);
  QPainter(&overWhite).drawImage(0, 0, decodedImage(image));
  overWhite = overWhite.convertToFormat(QImage::Format_ARGB32);

  EXPECT_TRUE(samePixels(overWhite, exportedPicture("face.bmp")));
  EXPECT_EQ(QImageReader(dir.filePath("face.bmp")).format(), "bmp");
  for (const char* name : {"face.jpg", "FACE.JPEG"}) {
    const QImage jpeg = exportedPicture(name);
    EXPECT_EQ(QImageReader(dir.filePath(name)).format(), "jpeg") << name;
    EXPECT_GT(psnr(overWhite, jpeg), 25) << name;
    // The transparent corner is white, not the black a dropped alpha leaves.
    EXPECT_GT(qGray(jpeg.pixel(0, 0)), 245) << name;
  }
  // Any other name gets the FSH image, as always.
  clickWith("exportButton", dir.filePath("face.png.fsh"));
  EXPECT_EQ(readFile(dir.filePath("face.png.fsh")), image);
  EXPECT_TRUE(messages().empty());
}

TEST_F(PictureCommandTest, PictureExportOfAPortraitThatCannotBeDecodedWritesNothing) {
  loadPortrait(fshImage(256));
  const FileTree before = snapshotTree(dir.path());
  clickWith("exportButton", dir.filePath("face.png"));
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_TRUE(messages()[0].text.startsWith(
      "The portrait cannot be written as a picture. The portrait is larger than"))
      << messages()[0].text.toStdString();
  EXPECT_EQ(messages()[0].caption, "Error");
  EXPECT_EQ(snapshotTree(dir.path()), before);
  EXPECT_EQ(ui.window->state().exportPath, "");
}

// How close a picture comes back after it went into a format and out again:
// the largest difference of any channel, or the PSNR for DXT.
struct RoundTripCase {
  const char* name;
  uint8_t code;
  int mipmaps;
  int largestDifference;  // -1: judged by PSNR
  double minimumPsnr;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class PngRoundTripTest : public PictureCommandTest,
                         public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(PngRoundTripTest, ImportThenExportGivesTheSourceWithinTheFormatsTolerance) {
  const RoundTripCase& c = GetParam();
  loadPortrait(portraitImage(c.code, smoothPicture({64, 64}), c.mipmaps));
  // A picture of the portrait's size: fitting leaves it as it is.
  // Noise for the formats that store each pixel on its own, a photo-like
  // picture for DXT; alpha only where the format keeps more than one bit of it.
  const bool dxt = c.largestDifference < 0;
  const bool keepsAlpha = c.code == Code::Argb8888 || c.code == Code::Argb4444 ||
                          c.code == Code::Dxt3 || c.code == Code::Dxt5;
  const QImage expected = c.code == Code::Indexed8 ? fewColoursPicture({64, 64}, 200, 5)
                          : dxt                    ? smoothPicture({64, 64}, keepsAlpha)
                                                   : noisePicture({64, 64}, 11, keepsAlpha);
  ui.pictures->nextAcceptDefaults();
  clickWith("importButton", savePicture(expected, "face.png"));
  ASSERT_TRUE(messages().empty()) << messages()[0].text.toStdString();
  ASSERT_EQ(ui.pictures->shown.size(), 1u);
  EXPECT_EQ(ui.pictures->shown[0].defaults.code, c.code);
  EXPECT_EQ(ui.pictures->shown[0].defaults.mipmapCount, c.mipmaps);

  const QImage exported = exportedPicture("back.png");
  ASSERT_EQ(exported.size(), QSize(64, 64));
  if (c.largestDifference >= 0)
    EXPECT_LE(largestChannelDifference(expected, exported), c.largestDifference);
  else
    EXPECT_GE(psnr(expected, exported), c.minimumPsnr) << psnr(expected, exported);
  // The archive still loads, and its portrait has the format it had.
  clickWith("loadButton", archivePath);
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(ui.window->portraitWindow()->details().contains(fsh::formatName(c.code)));
}

INSTANTIATE_TEST_SUITE_P(Codes, PngRoundTripTest,
                         ::testing::Values(RoundTripCase{"Argb8888", Code::Argb8888, 0, 0, 0},
                                           RoundTripCase{"Rgb888", Code::Rgb888, 3, 0, 0},
                                           RoundTripCase{"Indexed8FewColours", Code::Indexed8, 0, 0,
                                                         0},
                                           RoundTripCase{"Argb4444", Code::Argb4444, 0, 8, 0},
                                           RoundTripCase{"Argb1555", Code::Argb1555, 2, 4, 0},
                                           RoundTripCase{"Rgb565", Code::Rgb565, 0, 4, 0},
                                           RoundTripCase{"Dxt1", Code::Dxt1, 6, -1, 36},
                                           RoundTripCase{"Dxt5", Code::Dxt5, 6, -1, 36}),
                         [](const auto& info) { return std::string(info.param.name); });

// Four upright stripes, red, green, blue and yellow, each 32 pixels wide: a
// picture twice as wide as it is high.
QImage stripes() {
  QImage picture(128, 64, QImage::Format_ARGB32);
  const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) picture.setPixel(x, y, colours[x / 32]);
  return picture;
}

struct FitCase {
  const char* name;
  FitMode mode;
  // The colour in the middle of each 8-pixel column band of the 64x64 result,
  // at row 32, and at row 4 (0 for transparent).
  std::vector<QRgb> middleRow;
  QRgb nearTop;
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << c.name; }

class FitModeTest : public PictureCommandTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(FitModeTest, PictureOfAnotherAspectRatio) {
  const FitCase& c = GetParam();
  loadPortrait(portraitImage(Code::Argb8888, smoothPicture({64, 64})));
  ui.pictures->nextAccept({c.mode, Code::Argb8888, 0});
  clickWith("importButton", savePicture(stripes(), "stripes.png"));
  ASSERT_TRUE(messages().empty());
  EXPECT_EQ(ui.pictures->shown.at(0).pictureSize, QSize(128, 64));
  EXPECT_EQ(ui.pictures->shown.at(0).portraitSize, QSize(64, 64));

  const QImage result = decodedPortrait(archivePath);
  ASSERT_EQ(result.size(), QSize(64, 64));
  for (int band = 0; band < 8; ++band) {
    EXPECT_EQ(QColor::fromRgba(result.pixel(band * 8 + 4, 32)), QColor::fromRgba(c.middleRow[band]))
        << "column " << band * 8 + 4;
  }
  EXPECT_EQ(qAlpha(result.pixel(32, 4)), qAlpha(c.nearTop));
  if (qAlpha(c.nearTop)) {
    EXPECT_EQ(result.pixel(32, 4), c.nearTop);
  }
  EXPECT_TRUE(samePixels(result, ui.window->portraitWindow()->picture()));
}

constexpr QRgb Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, Yellow = 0xFFFFFF00;

INSTANTIATE_TEST_SUITE_P(
    Modes, FitModeTest,
    ::testing::Values(
        // Scaled to cover the square and cut at both sides: the two middle stripes.
        FitCase{"FillAndCrop",
                FitMode::Fill,
                {Green, Green, Green, Green, Blue, Blue, Blue, Blue},
                Blue},
        // Scaled to lie inside, on transparent margins above and below.
        FitCase{"FitInside", FitMode::Fit, {Red, Red, Green, Green, Blue, Blue, Yellow, Yellow}, 0},
        FitCase{"Stretch",
                FitMode::Stretch,
                {Red, Red, Green, Green, Blue, Blue, Yellow, Yellow},
                Blue}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PictureCommandTest, CancelInTheImportPictureDialogWritesNothing) {
  const QByteArray image = portraitImage(Code::Dxt5, paintedPortrait({64, 64}), 2);
  loadPortrait(image);
  const QString picture = savePicture(stripes(), "face.png");
  const FileTree before = snapshotTree(dir.path());
  ui.pictures->nextCancel();
  clickWith("importButton", picture);

  EXPECT_EQ(ui.pictures->shown.size(), 1u);
  EXPECT_EQ(snapshotTree(dir.path()), before);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(ui.window->state().importPath, "");
  EXPECT_TRUE(samePixels(decodedImage(image), ui.window->portraitWindow()->picture()));
}

TEST_F(PictureCommandTest, ContentDecidesNotTheName) {
  const QByteArray image = portraitImage(Code::Argb8888, smoothPicture({16, 16}));
  loadPortrait(image);
  // A picture named like an FSH file opens the Import picture dialog...
  const QString picture = dir.filePath("face.fsh");
  ASSERT_TRUE(noisePicture({16, 16}, 4, false).save(picture, "PNG"));
  ui.pictures->nextAccept({FitMode::Fill, Code::Argb8888, 0});
  clickWith("importButton", picture);
  EXPECT_EQ(ui.pictures->shown.size(), 1u);
  EXPECT_TRUE(samePixels(noisePicture({16, 16}, 4, false), decodedPortrait(archivePath)));

  // ...and an FSH image named like a picture goes in as it is.
  const QByteArray other = portraitImage(Code::Rgb565, smoothPicture({16, 16}));
  clickWith("importButton", writeFile(dir.filePath("face.png"), other));
  EXPECT_EQ(ui.pictures->shown.size(), 1u);
  EXPECT_EQ(archive::readPortrait(archivePath).value(), other);
  EXPECT_TRUE(messages().empty());
}

TEST_F(PictureCommandTest, CompressedFshImageIsStoredUnpacked) {
  loadPortrait(portraitImage(Code::Argb8888, smoothPicture({16, 16})));
  const QByteArray plain = portraitImage(Code::Dxt1, paintedPortrait({32, 32}), 2);
  for (const bool sizePrefix : {false, true}) {
    clickWith("importButton",
              writeFile(dir.filePath("packed.fsh"), literalRefpack(plain, sizePrefix)));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(archive::readPortrait(archivePath).value(), plain);
    EXPECT_EQ(ui.window->portraitWindow()->details(), "32 x 32 - DXT1 - 2 mipmaps");
  }
}

// Images are built when a test runs, not when the tests are listed.
using Builder = QByteArray (*)();

struct RefusalCase {
  const char* name;
  Builder portrait;  // the archive's
  const char* fileName;
  Builder file;  // offered for import
  RecordedMessage message;
  bool prefixOnly;  // the message's text starts with the given one
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class PictureImportRefusalTest : public PictureCommandTest,
                                 public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(PictureImportRefusalTest, TellsWhyAndWritesNothing) {
  const RefusalCase& c = GetParam();
  loadPortrait(c.portrait());
  const QString file = writeFile(dir.filePath(c.fileName), c.file());
  const FileTree before = snapshotTree(dir.path());
  clickWith("importButton", file);
  ASSERT_EQ(messages().size(), 1u);
  const RecordedMessage& shown = messages()[0];
  if (c.prefixOnly) {
    EXPECT_TRUE(shown.text.startsWith(c.message.text)) << shown.text.toStdString();
    EXPECT_EQ(shown.caption, c.message.caption);
    EXPECT_EQ(shown.style, c.message.style);
  } else {
    EXPECT_EQ(shown, c.message);
  }
  EXPECT_TRUE(ui.pictures->shown.empty());
  EXPECT_EQ(snapshotTree(dir.path()), before);
  EXPECT_EQ(ui.window->state().importPath, "");
}

QByteArray pngBytes(const QImage& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes;
}

QByteArray goodPortrait() { return portraitImage(Code::Argb8888, smoothPicture({16, 16})); }

INSTANTIATE_TEST_SUITE_P(
    Files, PictureImportRefusalTest,
    ::testing::Values(
        RefusalCase{"DamagedPicture",
                    goodPortrait,
                    "face.png",
                    [] { return pngBytes(stripes()).left(200); },
                    {"The picture \u2068face.png\u2069 cannot be read: ", "Invalid File",
                     ui::MessageStyle::Plain},
                    true},
        RefusalCase{"DamagedCompressedImage",
                    goodPortrait,
                    "packed.fsh",
                    [] { return literalRefpack(goodPortrait()).left(60); },
                    {"The FSH file \u2068packed.fsh\u2069 is damaged (", "Invalid File",
                     ui::MessageStyle::Plain},
                    true},
        RefusalCase{"PortraitThatIsNoFshImage",
                    [] { return fshImage(256); },
                    "face.png",
                    [] { return pngBytes(stripes()); },
                    {"The picture cannot be imported. The portrait in this archive is larger than "
                     "the editor can handle (",
                     "Error", ui::MessageStyle::Plain},
                    true},
        RefusalCase{"NeitherImageNorPicture",
                    goodPortrait,
                    "notes.png",
                    [] { return QByteArray("just some words"); },
                    {"This is not an FSH image: it does not start with SHPI.", "Invalid File",
                     ui::MessageStyle::Plain},
                    false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PictureCommandTest, PictureImportKeepsEveryCheckOfImport) {
  loadPortrait(portraitImage(Code::Argb8888, smoothPicture({16, 16})));
  const QString picture = savePicture(stripes(), "stripes.png");
  // The archive changed on disk after it was loaded: its size field no longer matches.
  QByteArray changed = readFile(archivePath);
  changed.append('\0');
  writeFile(archivePath, changed);
  const FileTree before = snapshotTree(dir.path());
  clickWith("importButton", picture);
  EXPECT_EQ(messages(), (std::vector<RecordedMessage>{{"This is not a valid file format.",
                                                       "Invalid File", ui::MessageStyle::Plain}}));
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

TEST_F(PictureCommandTest, PortraitTheCodecCannotShowTakesAPictureOfItsSize) {
  FixtureBlock block;
  block.code = 0x79;
  block.width = 8;
  block.height = 4;
  block.data = QByteArray(32, '\x05');
  FshFixture unknown;
  unknown.entries = {FixtureEntry{"img0", {block}, {}}};
  loadPortrait(unknown.build());
  ui.pictures->nextAcceptDefaults();
  clickWith("importButton", savePicture(stripes(), "stripes.png"));
  ASSERT_TRUE(messages().empty());
  ASSERT_EQ(ui.pictures->shown.size(), 1u);
  EXPECT_EQ(ui.pictures->shown[0].portraitSize, QSize(8, 4));
  EXPECT_EQ(ui.pictures->shown[0].defaults,
            (portrait::ImportSettings{FitMode::Fill, Code::Argb8888, 0}));
  EXPECT_EQ(ui.window->portraitWindow()->details(), "8 x 4 - ARGB8888 - no mipmaps");
  EXPECT_FALSE(ui.window->portraitWindow()->picture().isNull());
}

}  // namespace
