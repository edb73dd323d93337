// The portrait window and the "Import picture" dialog on a real X server: where
// the window opens, and that the screen shows the decoded portrait. With
// CPE_SCREENSHOT_DIR set, each test also saves what it shows there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "archive/portrait_image.h"
#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"
#include "support/archive_fixture.h"
#include "support/portrait_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/import_picture_dialog.h"
#include "ui/portrait_view.h"
#include "ui/portrait_window.h"
#include "x11/screenshot.h"

namespace {

// A quiet desktop for the screenshots.
class Desktop : public QWidget {
 public:
  Desktop() {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setGeometry(QGuiApplication::primaryScreen()->geometry());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0, QColor(96, 108, 124));
    shade.setColorAt(1, QColor(52, 58, 70));
    painter.fillRect(rect(), shade);
  }
};

// The colour a pixel of the picture shows on the light square of the checkerboard.
QColor overLightSquare(QRgb pixel) {
  QImage one(1, 1, QImage::Format_RGB32);
  one.fill(ui::PortraitView::lightSquare());
  QImage top(1, 1, QImage::Format_ARGB32);
  top.setPixel(0, 0, pixel);
  QPainter(&one).drawImage(0, 0, top);
  return one.pixelColor(0, 0);
}

class PortraitWindowOnX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop));
    ui = std::make_unique<WindowUnderTest>();
  }

  // Loads an archive with the portrait from the main window at `at`.
  ui::PortraitWindow* load(const QByteArray& portrait, QPoint at) {
    ui->window->move(at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui->window->pos() == at; }));
    archive = writeFile(dir.filePath("ab12cd3.big"),
                        ArchiveFixture::playerPackage().withImage(portrait).build());
    ui->dialogs->nextFileName(archive);
    ui->click("loadButton");
    EXPECT_TRUE(ui->messages->messages.empty());
    ui::PortraitWindow* window = ui->window->portraitWindow();
    if (!window) return nullptr;
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(200);
    return window;
  }

  // Every pixel of the picture as the screen shows it at the window's scale;
  // transparent parts over the light squares are compared with the blend.
  void expectScreenShows(ui::PortraitWindow* window, const QImage& decoded) {
    const QImage screen = grabScreen();
    const ui::PortraitView* view = window->view();
    const int scale = view->scale();
    const QPoint origin = view->mapToGlobal(view->pictureRect().topLeft());
    int wrong = 0;
    for (int y = 0; y < decoded.height() && wrong < 5; ++y) {
      for (int x = 0; x < decoded.width() && wrong < 5; ++x) {
        const QRgb pixel = decoded.pixel(x, y);
        const QPoint at = origin + QPoint(x, y) * scale;
        const bool lightSquare = ((x * scale / ui::PortraitView::SquareSize) +
                                  (y * scale / ui::PortraitView::SquareSize)) %
                                     2 ==
                                 0;
        if (qAlpha(pixel) != 255 && !lightSquare) continue;
        if (screen.pixelColor(at) != overLightSquare(pixel)) {
          ++wrong;
          ADD_FAILURE() << "pixel " << x << ", " << y << " shows "
                        << screen.pixelColor(at).name().toStdString() << ", decoded "
                        << QColor::fromRgba(pixel).name(QColor::HexArgb).toStdString();
        }
      }
    }
  }

  Desktop desktop;
  QTemporaryDir dir;
  QString archive;
  std::unique_ptr<WindowUnderTest> ui;
};

TEST_F(PortraitWindowOnX11, DxtPortraitOpensToTheRightAndShowsTheDecodedPixels) {
  ui::PortraitWindow* window =
      load(portraitImage(fsh::Code::Dxt5, paintedPortrait({256, 256}), 8), {60, 120});
  ASSERT_NE(window, nullptr);
  EXPECT_GE(window->frameGeometry().left(), ui->window->frameGeometry().right());
  EXPECT_EQ(window->frameGeometry().top(), ui->window->frameGeometry().top());
  EXPECT_EQ(window->details(), "256 x 256 - DXT5 - 8 mipmaps");
  expectScreenShows(window, decodedPortrait(archive));
  saveScreenshot("ui-dxt.png", ui->window->frameGeometry() | window->frameGeometry());
}

TEST_F(PortraitWindowOnX11, IndexedPortraitShowsTheDecodedPixels) {
  ui::PortraitWindow* window =
      load(portraitImage(fsh::Code::Indexed8, paintedPortrait({128, 128}, true)), {60, 120});
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->details(), "128 x 128 - Indexed8 - no mipmaps");
  EXPECT_GE(window->view()->scale(), 2);
  expectScreenShows(window, decodedPortrait(archive));
  saveScreenshot("ui-indexed.png", ui->window->frameGeometry() | window->frameGeometry());
}

TEST_F(PortraitWindowOnX11, OpensToTheLeftWhereTheRightHasNoRoom) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  ui::PortraitWindow* window = load(portraitImage(fsh::Code::Argb8888, paintedPortrait({64, 64})),
                                    {screen.right() - 400, 120});
  ASSERT_NE(window, nullptr);
  EXPECT_LE(window->frameGeometry().right(), ui->window->frameGeometry().left());
  expectScreenShows(window, decodedPortrait(archive));
}

// A wide picture for a square portrait: fill and crop cuts its sides.
QImage courtPicture() {
  QImage wide(480, 300, QImage::Format_ARGB32);
  QPainter painter(&wide);
  QLinearGradient court(0, 0, 480, 0);
  court.setColorAt(0, QColor(200, 140, 80));
  court.setColorAt(1, QColor(150, 90, 50));
  painter.fillRect(wide.rect(), court);
  painter.drawImage(QRect(90, 0, 300, 300), paintedPortrait({300, 300}));
  return wide;
}

TEST(ImportPictureDialogOnX11, ShowsThePreviewOfTheResult) {
  Desktop desktop;
  desktop.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop));

  auto import = portrait::PictureImport::prepare(
      portraitImage(fsh::Code::Dxt5, paintedPortrait({128, 128}), 7), courtPicture(), "court.png");
  ASSERT_TRUE(import);
  ui::ImportPictureDialog dialog(*import);
  dialog.move(200, 120);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.isPreviewFinal(); }, 30000));
  QTest::qWait(200);
  ASSERT_FALSE(dialog.preview().isNull());

  const auto* view = dialog.findChild<ui::PortraitView*>("previewView");
  const QImage screen = grabScreen();
  const QPoint origin = view->mapToGlobal(view->pictureRect().topLeft());
  // The middle of the face, opaque in the result.
  const QPoint face(64, 56);
  EXPECT_EQ(screen.pixelColor(origin + face * view->scale()),
            overLightSquare(dialog.preview().pixel(face)));
  saveScreenshot("ui-import-dialog.png", dialog.frameGeometry());
}

// A drag and two steps of the wheel: the face moved off centre and closer,
// as the final encode shows it.
TEST(ImportPictureDialogOnX11, ShowsAMovedAndZoomedCrop) {
  Desktop desktop;
  desktop.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop));
  auto import = portrait::PictureImport::prepare(
      portraitImage(fsh::Code::Dxt5, paintedPortrait({128, 128}), 7), courtPicture(), "court.png");
  ASSERT_TRUE(import);
  ui::ImportPictureDialog dialog(*import);
  dialog.move(200, 120);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.isPreviewFinal(); }, 30000));

  auto* view = dialog.findChild<ui::PortraitView*>("previewView");
  const QPoint middle = view->pictureRect().center();
  QTest::mousePress(view, Qt::LeftButton, {}, middle);
  QTest::mouseMove(view, middle + QPoint(20 * view->scale(), 8 * view->scale()));
  QTest::mouseRelease(view, Qt::LeftButton, {},
                      middle + QPoint(20 * view->scale(), 8 * view->scale()));
  for (int step = 0; step < 2; ++step) {
    QWheelEvent wheel(middle, view->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.isPreviewFinal(); }, 30000));
  QTest::qWait(200);
  const QRect crop = dialog.settings().crop;
  EXPECT_FALSE(crop.isEmpty());
  EXPECT_LT(crop.width(), 300) << "zoomed closer than fill's 300x300";
  EXPECT_LT(crop.center().x(), 240) << "moved left of the picture's centre";

  const QImage screen = grabScreen();
  const QPoint origin = view->mapToGlobal(view->pictureRect().topLeft());
  const QPoint face(64, 56);
  EXPECT_EQ(screen.pixelColor(origin + face * view->scale()),
            overLightSquare(dialog.preview().pixel(face)));
  saveScreenshot("ui-import-dialog-crop.png", dialog.frameGeometry());
}

}  // namespace
