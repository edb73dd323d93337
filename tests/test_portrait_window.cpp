// The portrait window: what it shows after a load or an import, how large and
// where it opens, and that it lives and dies with the main window.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "fsh/fsh_layout.h"
#include "support/archive_fixture.h"
#include "support/fsh_fixture.h"
#include "support/pixel_checks.h"
#include "support/portrait_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/portrait_view.h"
#include "ui/portrait_window.h"

namespace {

namespace Code = fsh::Code;

class PortraitWindowTest : public ::testing::Test {
 protected:
  QString writeArchive(const QByteArray& portrait, const QString& name = "ab12cd3.big") {
    return writeFile(dir.filePath(name),
                     ArchiveFixture::playerPackage().withImage(portrait).build());
  }
  void load(const QString& path) {
    ui.dialogs->nextFileName(path);
    ui.click("loadButton");
  }
  ui::PortraitWindow* portrait() const { return ui.window->portraitWindow(); }

  QTemporaryDir dir;
  WindowUnderTest ui;
};

// Images are built when a test runs, not when the tests are listed.
using ImageBuilder = QByteArray (*)();

// The room beside the main window on the offscreen screen (800 pixels square,
// the main window from x 301 to 692): to its left, 301 less the gap (8), the
// frame (16) and the view's margins (24) leaves 253 pixels across, some 700 down.
// A picture's zoom is the largest whole number that fits 253 across, as none
// of them reaches 512 pixels (the preferred side) or the height first.
struct ShownCase {
  const char* name;
  ImageBuilder image;
  const char* details;
  int zoom;
};

void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.name; }

// A bitmap whose data RefPack packs.
QByteArray blockCompressed(uint8_t code, const QImage& picture) {
  FixtureBlock block = bitmapBlock(code, picture);
  block.code |= fsh::Layout::CompressedFlag;
  block.data = literalRefpack(block.data);
  FshFixture fixture;
  fixture.entries = {FixtureEntry{"img0", {block}, {}}};
  return fixture.build();
}

class PortraitShownTest : public PortraitWindowTest,
                          public ::testing::WithParamInterface<ShownCase> {};

TEST_P(PortraitShownTest, LoadShowsTheCodecsDecodeAndTheBitmapsDetails) {
  const ShownCase& c = GetParam();
  const QByteArray image = c.image();
  const QString archive = writeArchive(image);
  load(archive);
  ASSERT_TRUE(ui.messages->messages.empty());
  ASSERT_NE(portrait(), nullptr);
  EXPECT_TRUE(portrait()->isVisible());
  EXPECT_EQ(portrait()->windowTitle(), "Portrait - ab12cd3.big");
  EXPECT_EQ(portrait()->details(), c.details);

  const QImage decoded = decodedImage(image);
  ASSERT_FALSE(decoded.isNull());
  EXPECT_TRUE(samePixels(decoded, portrait()->picture()));
  // And on the screen: every pixel a square of its own colour. The pictures
  // are opaque, so no checkerboard shows through.
  ui::PortraitView* view = portrait()->view();
  EXPECT_EQ(view->scale(), c.zoom);
  const QImage grabbed = view->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_TRUE(samePixels(
      decoded, shownPixels(grabbed, view->pictureRect().topLeft(), decoded.size(), view->scale())));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PortraitShownTest,
    ::testing::Values(
        ShownCase{"Dxt5",
                  [] {
                    return portraitImage(Code::Dxt5, noisePicture({64, 64}, 1, false), 6);
                  },
                  "64 x 64 - DXT5 - 6 mipmaps", 3},
        ShownCase{"Dxt1",
                  [] {
                    return portraitImage(Code::Dxt1, smoothPicture({32, 16}), 1);
                  },
                  "32 x 16 - DXT1 - 1 mipmap", 7},
        ShownCase{"Rgb565",
                  [] {
                    return portraitImage(Code::Rgb565, noisePicture({20, 12}, 2, false));
                  },
                  "20 x 12 - RGB565 - no mipmaps", 12},
        ShownCase{"Indexed8",
                  [] {
                    return portraitImage(Code::Indexed8, paintedPortrait({64, 64}, true));
                  },
                  "64 x 64 - Indexed8 - no mipmaps", 3},
        ShownCase{"CompressedArgb8888",
                  [] {
                    return blockCompressed(Code::Argb8888, noisePicture({16, 16}, 3, false));
                  },
                  "16 x 16 - ARGB8888 - no mipmaps - compressed", 15}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortraitWindowTest, TransparentPixelsShowTheCheckerboard) {
  QImage picture(32, 32, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  for (int x = 0; x < 32; ++x) picture.setPixel(x, 31, qRgb(200, 10, 10));
  load(writeArchive(portraitImage(Code::Argb8888, picture)));
  ui::PortraitView* view = portrait()->view();
  const QImage grabbed = view->grab().toImage();
  const QPoint origin = view->pictureRect().topLeft();
  // The top-left square is light, the one beside it dark; the red row stays red.
  EXPECT_EQ(grabbed.pixelColor(origin), ui::PortraitView::lightSquare());
  EXPECT_EQ(grabbed.pixelColor(origin + QPoint(ui::PortraitView::SquareSize, 0)),
            ui::PortraitView::darkSquare());
  EXPECT_EQ(grabbed.pixelColor(origin + QPoint(0, 31 * view->scale())), QColor(200, 10, 10));
}

struct ProblemCase {
  const char* name;
  ImageBuilder image;
  const char* details;
  const char* problem;  // the start of what the window says
};

void PrintTo(const ProblemCase& c, std::ostream* os) { *os << c.name; }

class PortraitProblemTest : public PortraitWindowTest,
                            public ::testing::WithParamInterface<ProblemCase> {};

TEST_P(PortraitProblemTest, SaysWhyAndEveryCommandStillWorks) {
  const ProblemCase& c = GetParam();
  const QByteArray image = c.image();
  const QString archive = writeArchive(image);
  load(archive);
  ASSERT_TRUE(ui.messages->messages.empty());
  ASSERT_NE(portrait(), nullptr);
  EXPECT_TRUE(portrait()->isVisible());
  EXPECT_TRUE(portrait()->picture().isNull());
  EXPECT_EQ(portrait()->details(), c.details);
  EXPECT_TRUE(portrait()->view()->message().startsWith(c.problem))
      << portrait()->view()->message().toStdString();

  // Export writes the image's bytes as before, and Save saves.
  const QString exported = dir.filePath("out.fsh");
  ui.dialogs->nextFileName(exported);
  ui.click("exportButton");
  EXPECT_EQ(readFile(exported), image);
  ui.dialogs->nextFileName(dir.filePath("saved.big"));
  ui.click("saveButton");
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(portrait()->windowTitle(), "Portrait - saved.big");
}

FshFixture unknownCode() {
  FixtureBlock block;
  block.code = 0x79;
  block.width = 8;
  block.height = 8;
  block.data = QByteArray(64, '\x05');
  FshFixture fixture;
  fixture.entries = {FixtureEntry{"img0", {block}, {}}};
  return fixture;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PortraitProblemTest,
    ::testing::Values(
        ProblemCase{"UnknownPixelFormat", [] { return unknownCode().build(); },
                    "8 x 8 - unknown 0x79 - no mipmaps",
                    "The portrait uses a pixel format the editor does not know"},
        ProblemCase{"Damaged",
                    [] {
                      FshFixture fixture = singleBitmap(Code::Argb8888, smoothPicture({8, 8}));
                      fixture.entryOffsetFields[0] = 0xFFFF;
                      return fixture.build();
                    },
                    "", "The portrait is damaged (directory entry"},
        ProblemCase{"TooLarge", [] { return fshImage(256); }, "",
                    "The portrait is larger than the editor can handle ("},
        ProblemCase{"NotAnFshImage",
                    [] {
                      QByteArray image = fshImage(64);
                      image.replace(0, 4, "JUNK");
                      return image;
                    },
                    "", "The portrait is not an FSH image."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortraitWindowTest, UserClosesItAndTheNextLoadOpensItAgain) {
  const QString archive = writeArchive(portraitImage(Code::Argb8888, smoothPicture({16, 16})));
  load(archive);
  ASSERT_NE(portrait(), nullptr);
  portrait()->close();
  EXPECT_FALSE(portrait()->isVisible());

  // A refused load leaves it closed.
  load(writeFile(dir.filePath("empty.big"), {}));
  EXPECT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_FALSE(portrait()->isVisible());

  load(archive);
  EXPECT_TRUE(portrait()->isVisible());
}

TEST_F(PortraitWindowTest, ClosesWithTheMainWindow) {
  load(writeArchive(portraitImage(Code::Argb8888, smoothPicture({16, 16}))));
  ASSERT_TRUE(portrait()->isVisible());
  ui.window->close();
  EXPECT_FALSE(portrait()->isVisible());
}

TEST_F(PortraitWindowTest, ImportShowsTheNewPortrait) {
  const QString archive = writeArchive(portraitImage(Code::Argb8888, smoothPicture({16, 16})));
  load(archive);
  portrait()->close();
  const QByteArray replacement = portraitImage(Code::Argb8888, noisePicture({16, 16}, 9, true));
  ui.dialogs->nextFileName(writeFile(dir.filePath("new.fsh"), replacement));
  ui.click("importButton");
  ASSERT_TRUE(ui.messages->messages.empty());
  EXPECT_TRUE(portrait()->isVisible());
  EXPECT_TRUE(samePixels(decodedImage(replacement), portrait()->picture()));
}

TEST_F(PortraitWindowTest, CtrlCCopiesThePicture) {
  const QByteArray image = portraitImage(Code::Dxt5, paintedPortrait({64, 64}), 2);
  load(writeArchive(image));
  // As a click on it would; a tool window counts as active with its parent,
  // so the test waits for the window system's focus.
  portrait()->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return QGuiApplication::focusWindow() == portrait()->windowHandle(); }));
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(portrait(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(samePixels(decodedImage(image), QGuiApplication::clipboard()->image().convertToFormat(
                                                  QImage::Format_ARGB32)));
}

TEST_F(PortraitWindowTest, TakesTheLargestWholeScaleThatFitsBesideTheMainWindow) {
  ui.window->move(0, 0);
  load(writeArchive(portraitImage(Code::Argb8888, smoothPicture({64, 64}))));
  const QRect screen = ui.window->screen()->availableGeometry();
  const QRect shown = portrait()->geometry();
  const double scale = portrait()->view()->scale();
  EXPECT_GE(scale, 2);
  EXPECT_GT(shown.left(), ui.window->geometry().right());
  EXPECT_LE(shown.right() + ui::PortraitWindow::FrameAllowance.width(), screen.right());
  // One step larger would not fit.
  EXPECT_GT(shown.right() + 64 + ui::PortraitWindow::FrameAllowance.width(), screen.right());
  EXPECT_EQ(portrait()->view()->pictureRect().size(), QSize(64, 64) * scale);

  // Wider than any room: scaled down, whole, still beside the main window.
  load(writeArchive(portraitImage(Code::Argb8888, smoothPicture({2048, 16}))));
  EXPECT_LT(portrait()->view()->scale(), 1);
  EXPECT_GT(portrait()->geometry().left(), ui.window->geometry().right());
  EXPECT_LE(portrait()->geometry().right(), screen.right());
  EXPECT_LE(portrait()->view()->pictureRect().right(), portrait()->view()->rect().right());
}

struct ScaleCase {
  QSize picture;
  QSize area;
  double scale;
};

class FittingScaleTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(FittingScaleTest, WholeWhenItFitsElseTheFractionThatDoes) {
  EXPECT_DOUBLE_EQ(ui::fittingScale(GetParam().picture, GetParam().area), GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FittingScaleTest,
                         ::testing::Values(ScaleCase{{256, 256}, {600, 600}, 2},
                                           ScaleCase{{256, 256}, {767, 768}, 2},
                                           ScaleCase{{256, 256}, {768, 768}, 3},
                                           ScaleCase{{64, 32}, {300, 90}, 2},
                                           ScaleCase{{300, 300}, {200, 250}, 200.0 / 300},
                                           ScaleCase{{4096, 4096}, {512, 1024}, 0.125},
                                           ScaleCase{{0, 0}, {200, 200}, 1}));

// Laptop screens with a panel, the main window where it opens, and the frame
// a window manager gives: the portrait window, frame and all, lies on the
// screen and off the main window, whatever the portrait's size.
TEST(PlaceBeside, FitsCommonLaptopScreens) {
  const QMargins frame(4, 26, 4, 4);
  const QSize details(190, 20);
  for (const QRect available : {QRect(0, 24, 1280, 776), QRect(0, 0, 1366, 740)}) {
    for (const QRect anchor : {QRect(301, 232, 392, 240), QRect(880, 500, 392, 240)}) {
      for (const QSize picture : {QSize(64, 64), QSize(256, 256), QSize(1024, 1024),
                                  QSize(4096, 4096), QSize(4120, 4146)}) {
        const ui::BesidePlacement placed =
            ui::placeBeside(picture, details, anchor, available, frame, 512, 8);
        const std::string where = std::to_string(available.width()) + " screen, " +
                                  std::to_string(picture.width()) + " picture, main window at " +
                                  std::to_string(anchor.x());
        EXPECT_TRUE(available.contains(placed.frame)) << where;
        EXPECT_FALSE(placed.frame.intersects(anchor)) << where;
        const QSize shown = (QSizeF(picture) * placed.scale).toSize();
        EXPECT_LE(shown.height() + 2 * ui::PortraitView::Margin + details.height() + 30,
                  placed.frame.height())
            << where;
        if (picture.width() <= 256) {
          EXPECT_GE(placed.scale, 1) << where;
        }
      }
    }
  }
}

struct PlaceCase {
  const char* name;
  QRect anchor;
  QSize size;
  QPoint expected;
};

void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class BesidePositionTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(BesidePositionTest, RightWhereItFitsElseLeft) {
  const QRect screen(0, 0, 1024, 768);
  const PlaceCase& c = GetParam();
  EXPECT_EQ(ui::besidePosition(c.anchor, c.size, screen, 8), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, BesidePositionTest,
    ::testing::Values(
        PlaceCase{"RoomOnTheRight", {100, 80, 392, 240}, {300, 320}, {500, 80}},
        PlaceCase{"JustFitsOnTheRight", {100, 80, 392, 240}, {524, 320}, {500, 80}},
        PlaceCase{"NoRoomRightButLeft", {600, 80, 392, 240}, {300, 320}, {292, 80}},
        PlaceCase{"NoRoomEitherSideRightIsRoomier", {200, 80, 392, 240}, {500, 320}, {600, 80}},
        PlaceCase{"NoRoomEitherSideLeftIsRoomier", {500, 80, 392, 240}, {600, 320}, {-108, 80}},
        PlaceCase{"KeptAboveTheBottom", {100, 600, 392, 240}, {300, 320}, {500, 448}},
        PlaceCase{"KeptBelowTheTop", {100, -50, 392, 240}, {300, 320}, {500, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
