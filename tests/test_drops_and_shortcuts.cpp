// Files dropped on either window, the clipboard, and the keyboard shortcuts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "archive/portrait_image.h"
#include "fsh/fsh_layout.h"
#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/fsh_fixture.h"
#include "support/pixel_checks.h"
#include "support/portrait_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/dropped_file.h"
#include "ui/portrait_window.h"

namespace {

namespace Code = fsh::Code;

std::unique_ptr<QMimeData> filesData(const QStringList& paths) {
  auto data = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const QString& path : paths)
    urls << (path.contains("://") ? QUrl(path) : QUrl::fromLocalFile(path));
  data->setUrls(urls);
  return data;
}

struct ClassifyCase {
  QStringList paths;
  std::optional<ui::DroppedFile::Kind> kind;
};

class DroppedFileTest : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(DroppedFileTest, OneLocalArchiveOrImageByItsSuffix) {
  const auto data = filesData(GetParam().paths);
  const auto file = ui::droppedFile(data.get());
  ASSERT_EQ(file.has_value(), GetParam().kind.has_value());
  if (file) {
    EXPECT_EQ(file->kind, *GetParam().kind);
    EXPECT_EQ(file->path, GetParam().paths.first());
  }
}

using Kind = ui::DroppedFile::Kind;
INSTANTIATE_TEST_SUITE_P(Names, DroppedFileTest,
                         ::testing::Values(ClassifyCase{{"/tmp/ab12cd3.big"}, Kind::Archive},
                                           ClassifyCase{{"/tmp/AB12CD3.BIG"}, Kind::Archive},
                                           ClassifyCase{{"/tmp/face.fsh"}, Kind::Image},
                                           ClassifyCase{{"/tmp/face.PNG"}, Kind::Image},
                                           ClassifyCase{{"/tmp/face.jpeg"}, Kind::Image},
                                           ClassifyCase{{"/tmp/face.webp"}, Kind::Image},
                                           ClassifyCase{{"/tmp/notes.txt"}, std::nullopt},
                                           ClassifyCase{{"/tmp/big"}, std::nullopt},
                                           ClassifyCase{{"/tmp/a.big", "/tmp/b.big"}, std::nullopt},
                                           ClassifyCase{{"https://example.org/a.big"},
                                                        std::nullopt},
                                           ClassifyCase{{}, std::nullopt}));

class DropTest : public ::testing::Test {
 protected:
  QString writeArchive(const QString& name, const QByteArray& portrait) {
    return writeFile(dir.filePath(name),
                     ArchiveFixture::playerPackage().withImage(portrait).build());
  }
  void load(const QString& path) {
    ui.dialogs->nextFileName(path);
    ui.click("loadButton");
    ASSERT_TRUE(ui.messages->messages.empty());
  }
  // Drags the files onto the widget and drops them where it takes them;
  // returns whether it took the drag. What the drop starts runs after it.
  bool drop(QWidget* target, const QStringList& paths) {
    const auto data = filesData(paths);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(at), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    EXPECT_TRUE(dropped.isAccepted());
    EXPECT_EQ(dropped.dropAction(), Qt::CopyAction);
    QCoreApplication::processEvents();
    return true;
  }
  ui::PortraitWindow* portrait() const { return ui.window->portraitWindow(); }

  QTemporaryDir dir;
  WindowUnderTest ui;
  const QByteArray first = portraitImage(Code::Argb8888, smoothPicture({16, 16}));
  const QByteArray second = portraitImage(Code::Argb8888, noisePicture({16, 16}, 3, true));
};

TEST_F(DropTest, DroppedArchiveLoadsOnEitherWindow) {
  const QString one = writeArchive("ab12cd3.big", first);
  EXPECT_TRUE(drop(ui.window.get(), {one}));
  EXPECT_EQ(ui.window->state().archivePath, one);
  EXPECT_EQ(ui.shownArchive().first(), "ab12cd3");
  ASSERT_NE(portrait(), nullptr);
  EXPECT_TRUE(samePixels(decodedImage(first), portrait()->picture()));

  const QString two = writeArchive("zz99yy8.BIG", second);
  EXPECT_TRUE(drop(portrait(), {two}));
  EXPECT_EQ(ui.window->state().archivePath, two);
  EXPECT_EQ(portrait()->windowTitle(), "Portrait - zz99yy8.BIG");
  EXPECT_TRUE(samePixels(decodedImage(second), portrait()->picture()));

  // On a text box: loaded, not typed in.
  auto* edit = ui.control<QLineEdit>("playerPackageEdit");
  EXPECT_TRUE(drop(edit, {one}));
  EXPECT_EQ(ui.window->state().archivePath, one);
  EXPECT_EQ(edit->text(), "ab12cd3");
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_TRUE(ui.messages->questions.empty());
}

TEST_F(DropTest, TextDroppedOnATextBoxIsTyped) {
  load(writeArchive("ab12cd3.big", first));
  auto* edit = ui.control<QLineEdit>("playerPackageEdit");
  edit->clear();
  QMimeData text;
  text.setText("zz99yy8");
  const QPoint at = edit->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(edit, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent dropped(QPointF(at), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(edit, &dropped);
  EXPECT_EQ(edit->text(), "zz99yy8");
  EXPECT_EQ(ui.window->state().archivePath, dir.filePath("ab12cd3.big"));
}

TEST_F(DropTest, ImagesAreRefusedUntilAnArchiveIsLoaded) {
  const QString image = writeFile(dir.filePath("face.fsh"), second);
  EXPECT_FALSE(drop(ui.window.get(), {image}));
  EXPECT_FALSE(drop(ui.window.get(), {dir.filePath("notes.txt")}));
  EXPECT_FALSE(drop(ui.window.get(), {image, image}));
  EXPECT_TRUE(ui.messages->questions.empty());
  EXPECT_EQ(ui.window->state().importPath, "");
}

TEST_F(DropTest, DroppedImageAsksFirstNamingBothFilesAndNoWritesNothing) {
  load(writeArchive("ab12cd3.big", first));
  const QString image = writeFile(dir.filePath("face.fsh"), second);
  const FileTree before = snapshotTree(dir.path());
  ui.messages->nextAnswer(false);
  EXPECT_TRUE(drop(ui.window.get(), {image}));
  EXPECT_EQ(ui.messages->questions,
            (std::vector<RecordedMessage>{
                {"Replace the portrait in \u2068ab12cd3.big\u2069 with \u2068face.fsh\u2069?",
                 "Courtside Portraits Editor", ui::MessageStyle::Plain}}));
  EXPECT_EQ(snapshotTree(dir.path()), before);
  EXPECT_EQ(ui.window->state().importPath, "");
  EXPECT_TRUE(samePixels(decodedImage(first), portrait()->picture()));
}

TEST_F(DropTest, YesImportsTheDroppedImageOrPicture) {
  const QString archive = writeArchive("ab12cd3.big", first);
  load(archive);
  const QString image = writeFile(dir.filePath("face.fsh"), second);
  ui.messages->nextAnswer(true);
  EXPECT_TRUE(drop(portrait(), {image}));
  EXPECT_EQ(archive::readPortrait(archive).value(), second);
  EXPECT_EQ(ui.window->state().importPath, image);
  EXPECT_TRUE(samePixels(decodedImage(second), portrait()->picture()));

  // A picture: the question, then the Import picture dialog.
  const QString picture = dir.filePath("face.png");
  ASSERT_TRUE(smoothPicture({16, 16}).save(picture));
  ui.messages->nextAnswer(true);
  ui.pictures->nextAcceptDefaults();
  EXPECT_TRUE(drop(ui.window.get(), {picture}));
  EXPECT_EQ(ui.messages->questions.back().text,
            "Replace the portrait in \u2068ab12cd3.big\u2069 with \u2068face.png\u2069?");
  ASSERT_EQ(ui.pictures->shown.size(), 1u);
  EXPECT_EQ(ui.pictures->shown[0].pictureName, "face.png");
  EXPECT_TRUE(samePixels(smoothPicture({16, 16}), decodedPortrait(archive)));
  EXPECT_TRUE(ui.messages->messages.empty());
}

class ShortcutTest : public DropTest {
 protected:
  void SetUp() override {
    ui.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui.window.get()));
  }
  void press(QWidget* target, QKeyCombination keys) {
    QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
  }
  // The title of the next modal window, which is then closed.
  QString closeNextModal(std::function<void()> open) {
    QString title;
    QTimer::singleShot(0, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        title = modal->windowTitle();
        modal->close();
      }
    });
    open();
    // The window system gives the main window back its activation.
    ui.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(ui.window.get()));
    return title;
  }
};

TEST_F(ShortcutTest, KeysRunTheFileCommandsTheirButtonsRun) {
  ui.dialogs->nextCancel();
  press(ui.window.get(), Qt::CTRL | Qt::Key_S);  // disabled: no dialog
  press(ui.window.get(), Qt::CTRL | Qt::Key_I);
  press(ui.window.get(), Qt::CTRL | Qt::Key_E);
  press(ui.window.get(), Qt::CTRL | Qt::Key_O);
  ASSERT_EQ(ui.dialogs->shown.size(), 1u);
  EXPECT_EQ(ui.dialogs->shown.back().title, "Load File");

  load(writeArchive("ab12cd3.big", first));
  const std::pair<QKeyCombination, const char*> keys[] = {{Qt::CTRL | Qt::Key_O, "Load File"},
                                                          {Qt::CTRL | Qt::Key_S, "Save"},
                                                          {Qt::CTRL | Qt::Key_I, "Import"},
                                                          {Qt::CTRL | Qt::Key_E, "Export"}};
  for (const auto& [key, title] : keys) {
    // From the main window, from a text box in it, and from the portrait window.
    for (QWidget* target : {static_cast<QWidget*>(ui.window.get()),
                            static_cast<QWidget*>(ui.control<QLineEdit>("playerPackageEdit"))}) {
      ui.dialogs->nextCancel();
      press(target, key);
      EXPECT_EQ(ui.dialogs->shown.back().title, title) << target->objectName().toStdString();
    }
  }
  EXPECT_TRUE(ui.messages->messages.empty());
}

TEST_F(ShortcutTest, F1ShowsAboutAndCtrlQCloses) {
  EXPECT_EQ(closeNextModal([&] { press(ui.window.get(), Qt::Key_F1); }),
            "About Courtside Portraits Editor v1.1");
  load(writeArchive("ab12cd3.big", first));
  ASSERT_TRUE(portrait()->isVisible());
  press(ui.window.get(), Qt::CTRL | Qt::Key_Q);
  EXPECT_FALSE(ui.window->isVisible());
  EXPECT_FALSE(portrait()->isVisible());
}

TEST_F(ShortcutTest, MainWindowGetsNoAccessKeysAndNoDefaultButton) {
  for (const QPushButton* button : ui.window->findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->text().contains('&')) << button->text().toStdString();
    EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
  }
}

TEST_F(ShortcutTest, CtrlVStartsAPictureImportFromTheClipboard) {
  QGuiApplication::clipboard()->setImage(noisePicture({16, 16}, 8, false));
  press(ui.window.get(), Qt::CTRL | Qt::Key_V);  // no archive yet: nothing
  EXPECT_TRUE(ui.pictures->shown.empty());

  const QString archive = writeArchive("ab12cd3.big", first);
  load(archive);
  ui.pictures->nextAcceptDefaults();
  press(ui.window.get(), Qt::CTRL | Qt::Key_V);
  ASSERT_EQ(ui.pictures->shown.size(), 1u);
  EXPECT_EQ(ui.pictures->shown[0].pictureName, "Picture from the clipboard");
  EXPECT_TRUE(samePixels(noisePicture({16, 16}, 8, false), decodedPortrait(archive)));
  EXPECT_TRUE(samePixels(noisePicture({16, 16}, 8, false), portrait()->picture()));

  // A file copied in a file manager: asked about as a dropped one.
  QGuiApplication::clipboard()->setMimeData(
      filesData({writeFile(dir.filePath("face.fsh"), second)}).release());
  ui.messages->nextAnswer(false);
  press(ui.window.get(), Qt::CTRL | Qt::Key_V);
  EXPECT_EQ(ui.messages->questions.size(), 1u);

  // Text pastes into a text box as always.
  QGuiApplication::clipboard()->setText("zz99yy8");
  auto* edit = ui.control<QLineEdit>("playerPackageEdit");
  edit->clear();
  edit->setFocus();
  press(edit, Qt::CTRL | Qt::Key_V);
  EXPECT_EQ(edit->text(), "zz99yy8");
  EXPECT_EQ(ui.pictures->shown.size(), 1u);
  EXPECT_TRUE(ui.messages->messages.empty());
}

// Too large a picture pasted from another program (as PNG bytes) is refused
// before it is decoded, and one Qt has decoded already by its size; both say
// how large it is, and the archive is left as it was.
TEST_F(ShortcutTest, CtrlVRefusesAPictureOfTooManyPixelsSayingItsSize) {
  const QString archive = writeArchive("ab12cd3.big", first);
  load(archive);
  const auto before = snapshotFile(archive);
  // A 69-byte PNG whose header declares 60000 x 60000 pixels.
  const QByteArray hugePng = QByteArray::fromHex(
      "89504e470d0a1a0a0000000d494844520000ea600000ea60080600000080d275420000000c49444154789c6360"
      "a00c000000400001b7347cef0000000049454e44ae426082");
  auto encoded = std::make_unique<QMimeData>();
  encoded->setData("image/png", hugePng);
  auto decoded = std::make_unique<QMimeData>();
  decoded->setImageData(QImage(12000, 11000, QImage::Format_Mono));  // 16 MB, 132 million pixels
  const std::pair<QMimeData*, const char*> pasted[] = {{encoded.release(), "60000 x 60000"},
                                                       {decoded.release(), "12000 x 11000"}};
  for (const auto& [data, size] : pasted) {
    QGuiApplication::clipboard()->setMimeData(data);
    press(ui.window.get(), Qt::CTRL | Qt::Key_V);
    ASSERT_FALSE(ui.messages->messages.empty()) << size;
    const QString text = ui.messages->messages.back().text;
    EXPECT_TRUE(text.contains(size) && text.contains("120")) << text.toStdString();
  }
  EXPECT_EQ(ui.messages->messages.size(), 2u);
  EXPECT_TRUE(ui.pictures->shown.empty());
  EXPECT_EQ(snapshotFile(archive), before);
}

// Undo is the window's: it shows the portrait it put back, and an archive
// loaded since has a history of its own. (The bytes and the refusal after an
// outside change are the archive layer's.)
TEST_F(ShortcutTest, CtrlZPutsBackThePortraitTheLastImportReplaced) {
  const QString archive = writeArchive("ab12cd3.big", first);
  const QByteArray original = readFile(archive);
  load(archive);
  QGuiApplication::clipboard()->setImage(noisePicture({16, 16}, 8, false));
  ui.pictures->nextAcceptDefaults();
  press(ui.window.get(), Qt::CTRL | Qt::Key_V);
  ASSERT_NE(readFile(archive), original);
  EXPECT_TRUE(ui.window->canUndoImport());

  press(ui.window.get(), Qt::CTRL | Qt::Key_Z);
  EXPECT_EQ(readFile(archive), original);
  EXPECT_TRUE(samePixels(decodedImage(first), portrait()->picture()));
  EXPECT_FALSE(ui.window->canUndoImport());

  ui.pictures->nextAcceptDefaults();
  press(ui.window.get(), Qt::CTRL | Qt::Key_V);
  const QByteArray imported = readFile(archive);
  load(writeArchive("zz99yy8.big", second));
  load(archive);
  press(ui.window.get(), Qt::CTRL | Qt::Key_Z);
  EXPECT_EQ(readFile(archive), imported);
  EXPECT_TRUE(ui.messages->messages.empty());
}

}  // namespace
