// The "Import picture" dialog itself: what it opens with, its live preview of
// the result, and Enter and Esc.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "archive/portrait_image.h"
#include "fsh/fsh_layout.h"
#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/fsh_fixture.h"
#include "support/pixel_checks.h"
#include "support/portrait_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/import_picture_dialog.h"
#include "ui/portrait_view.h"

namespace {

namespace Code = fsh::Code;

// A picture twice as wide as high, opaque.
QImage widePicture() { return noisePicture({96, 48}, 21, false); }

portrait::PictureImport prepared(const QByteArray& portrait,
                                 const QImage& picture = widePicture()) {
  auto import = portrait::PictureImport::prepare(portrait, picture, "wide.png");
  EXPECT_TRUE(import);
  return std::move(import).value();
}

// The preview is made on other threads; this waits for the one OK writes.
::testing::AssertionResult finalPreview(const ui::ImportPictureDialog& dialog) {
  if (QTest::qWaitFor([&] { return dialog.isPreviewFinal(); }, 30000))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no final preview within 30 s";
}

// A click on a radio button's circle.
void choose(QDialog& dialog, const char* button) {
  auto* radio = dialog.findChild<QRadioButton*>(button);
  QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
}

TEST(ImportPictureDialogTest, OpensOnThePortraitsOwnFormatAndMipmapsWithFillAndCrop) {
  portrait::PictureImport import = prepared(portraitImage(Code::Dxt5, smoothPicture({64, 32}), 4));
  ui::ImportPictureDialog dialog(import);
  ASSERT_TRUE(finalPreview(dialog));
  EXPECT_EQ(dialog.windowTitle(), "Import picture");
  EXPECT_TRUE(dialog.findChild<QRadioButton*>("fillButton")->isChecked());
  const auto* format = dialog.findChild<QComboBox*>("formatBox");
  EXPECT_EQ(format->currentText(), "DXT5 (the portrait's own)");
  EXPECT_EQ(format->count(), 9);
  const auto* mipmaps = dialog.findChild<QSpinBox*>("mipmapBox");
  EXPECT_EQ(mipmaps->value(), 4);
  EXPECT_EQ(mipmaps->maximum(), 5);  // 64x32 halves five times to 2x1
  EXPECT_EQ(dialog.settings(),
            (portrait::ImportSettings{portrait::FitMode::Fill, Code::Dxt5, 4, {}}));
  EXPECT_EQ(dialog.preview().size(), QSize(64, 32));
  EXPECT_TRUE(dialog.status().startsWith("New portrait: 64 x 32 - DXT5 - 4 mipmaps, "))
      << dialog.status().toStdString();
}

TEST(ImportPictureDialogTest, PreviewFollowsEveryControl) {
  portrait::PictureImport import =
      prepared(portraitImage(Code::Argb8888, smoothPicture({32, 32}), 2));
  ui::ImportPictureDialog dialog(import);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  ASSERT_TRUE(finalPreview(dialog));
  // Fill and crop covers the square: the top row is opaque.
  EXPECT_EQ(qAlpha(dialog.preview().pixel(16, 0)), 255);

  choose(dialog, "fitInsideButton");
  ASSERT_TRUE(finalPreview(dialog));
  EXPECT_EQ(dialog.settings().fitMode, portrait::FitMode::Fit);
  EXPECT_EQ(qAlpha(dialog.preview().pixel(16, 0)), 0) << "transparent margin above";
  EXPECT_EQ(qAlpha(dialog.preview().pixel(16, 16)), 255);

  choose(dialog, "stretchButton");
  ASSERT_TRUE(finalPreview(dialog));
  EXPECT_EQ(qAlpha(dialog.preview().pixel(16, 0)), 255);
  EXPECT_TRUE(samePixels(widePicture()
                             .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32),
                         dialog.preview()));

  auto* format = dialog.findChild<QComboBox*>("formatBox");
  format->setCurrentIndex(format->findText("RGB565"));
  ASSERT_TRUE(finalPreview(dialog));
  EXPECT_TRUE(dialog.status().startsWith("New portrait: 32 x 32 - RGB565 - 2 mipmaps, "));
  dialog.findChild<QSpinBox*>("mipmapBox")->setValue(0);
  ASSERT_TRUE(finalPreview(dialog));
  // 32x32 at 2 bytes a pixel after the block header, which starts at 48 after
  // the header, the directory and the fixture's filler.
  EXPECT_EQ(dialog.status(), "New portrait: 32 x 32 - RGB565 - no mipmaps, 2,112 bytes");
  // The shown preview is the picture on the screen, a pixel per square.
  const auto* view = dialog.findChild<ui::PortraitView*>("previewView");
  const QImage grabbed =
      const_cast<ui::PortraitView*>(view)->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_TRUE(samePixels(dialog.preview(), shownPixels(grabbed, view->pictureRect().topLeft(),
                                                       {32, 32}, view->scale())));
}

TEST(ImportPictureDialogTest, ThePortraitsFormatIsOfferedOnlyWhenTheCodecWritesIt) {
  FixtureBlock block;
  block.code = 0x79;
  block.width = 16;
  block.height = 16;
  block.data = QByteArray(256, '\x05');
  FshFixture unknown;
  unknown.entries = {FixtureEntry{"img0", {block}, {}}};
  portrait::PictureImport import = prepared(unknown.build());
  ui::ImportPictureDialog dialog(import);
  ASSERT_TRUE(finalPreview(dialog));
  const auto* format = dialog.findChild<QComboBox*>("formatBox");
  EXPECT_EQ(format->currentText(), "ARGB8888");
  for (int i = 0; i < format->count(); ++i)
    EXPECT_FALSE(format->itemText(i).contains("own")) << format->itemText(i).toStdString();
  EXPECT_EQ(dialog.preview().size(), QSize(16, 16));
}

// OK pressed before the final preview came waits for it, and what is then
// written is that preview, made once, at the best quality.
TEST(ImportPictureDialogTest, OkBeforeTheFinalPreviewWaitsAndWritesItWithoutEncodingAgain) {
  const QImage picture = noisePicture({300, 200}, 8, false);
  const QByteArray portrait = portraitImage(Code::Dxt5, smoothPicture({128, 128}), 7);
  portrait::PictureImport import = prepared(portrait, picture);
  ui::ImportPictureDialog dialog(import);
  // No event has been handled yet, so no preview can have come.
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  EXPECT_EQ(dialog.result(), 0);
  EXPECT_FALSE(dialog.isPreviewFinal());
  EXPECT_FALSE(dialog.findChild<QComboBox*>("formatBox")->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.result() == QDialog::Accepted; }, 30000));

  const int encoded = import.encoder()->levelsEncoded();
  const auto written = import.encode(dialog.settings());
  ASSERT_TRUE(written);
  EXPECT_EQ(import.encoder()->levelsEncoded(), encoded);
  EXPECT_TRUE(samePixels(written->decoded, dialog.preview()));
  portrait::PictureImport fresh = prepared(portrait, picture);
  EXPECT_EQ(written->image, fresh.encode(dialog.settings())->image);
}

// The real dialog in the main window: Enter takes the defaults and the archive
// gets exactly what the preview showed; Esc writes nothing.
class RealDialogTest : public ::testing::Test {
 protected:
  RealDialogTest() {
    auto files = std::make_unique<ScriptedFileDialog>();
    auto messages = std::make_unique<RecordingMessageBox>();
    dialogs = files.get();
    recorded = messages.get();
    window = std::make_unique<ui::MainWindow>(std::move(files), std::move(messages));
    window->show();
    archive = writeFile(dir.filePath("ab12cd3.big"),
                        ArchiveFixture::playerPackage()
                            .withImage(portraitImage(Code::Dxt1, smoothPicture({32, 32}), 3))
                            .build());
    dialogs->nextFileName(archive);
    QTest::mouseClick(window->findChild<QPushButton*>("loadButton"), Qt::LeftButton);
    picture = dir.filePath("wide.png");
    widePicture().save(picture);
  }

  // Imports the picture, pressing the key in the dialog as soon as it shows;
  // returns what it previewed when it closed.
  QImage importPressing(Qt::Key key) {
    QImage previewed;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<ui::ImportPictureDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      QObject::connect(dialog, &QDialog::finished,
                       [&previewed, dialog] { previewed = dialog->preview(); });
      QTest::keyClick(dialog, key);
    });
    dialogs->nextFileName(picture);
    QTest::mouseClick(window->findChild<QPushButton*>("importButton"), Qt::LeftButton);
    return previewed;
  }

  QTemporaryDir dir;
  ScriptedFileDialog* dialogs;
  RecordingMessageBox* recorded;
  std::unique_ptr<ui::MainWindow> window;
  QString archive;
  QString picture;
};

TEST_F(RealDialogTest, EnterImportsWhatThePreviewShowed) {
  const QImage previewed = importPressing(Qt::Key_Return);
  ASSERT_FALSE(previewed.isNull());
  EXPECT_TRUE(recorded->messages.empty());
  EXPECT_TRUE(samePixels(previewed, decodedPortrait(archive)));
}

// The hand moves and zooms the crop, and OK writes the crop last shown.
TEST_F(RealDialogTest, ADragAndAWheelStepMoveTheCropAndOkWritesWhatIsShown) {
  QImage centred, dragged, zoomed;
  QRect crop;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<ui::ImportPictureDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    auto* view = dialog->findChild<ui::PortraitView*>("previewView");
    EXPECT_TRUE(finalPreview(*dialog));
    centred = dialog->preview();
    const QPoint middle = view->pictureRect().center();
    QTest::mousePress(view, Qt::LeftButton, {}, middle);
    const QPoint to = middle + QPoint(6 * view->scale(), 0);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    EXPECT_TRUE(finalPreview(*dialog));
    dragged = dialog->preview();
    QWheelEvent wheel(middle, view->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_TRUE(finalPreview(*dialog));
    zoomed = dialog->preview();
    crop = dialog->settings().crop;
    QTest::keyClick(dialog, Qt::Key_Return);
  });
  dialogs->nextFileName(picture);
  QTest::mouseClick(window->findChild<QPushButton*>("importButton"), Qt::LeftButton);

  ASSERT_FALSE(zoomed.isNull());
  EXPECT_FALSE(samePixels(centred, dragged));
  EXPECT_FALSE(samePixels(dragged, zoomed));
  // The 96x48 picture fills 32x32 from its middle 48x48, 1.5 pixels a portrait
  // pixel: 6 portrait pixels to the right move the centre 9 pixels left, to
  // (39, 24); a step closer (8 to the eighth power) leaves 48 / 1.297 = 37 pixels.
  EXPECT_EQ(crop, QRect(21, 6, 37, 37));
  EXPECT_TRUE(recorded->messages.empty());
  EXPECT_TRUE(samePixels(zoomed, decodedPortrait(archive)));
}

TEST_F(RealDialogTest, EscapeWritesNothing) {
  const FileTree before = snapshotTree(dir.path());
  importPressing(Qt::Key_Escape);
  EXPECT_EQ(snapshotTree(dir.path()), before);
  EXPECT_TRUE(recorded->messages.empty());
}

}  // namespace
