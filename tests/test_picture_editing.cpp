// The portrait edited in another program: a fake editor saves the picture as
// real ones do (written in place, half-written for a while, renamed over it),
// and each complete save, and only those, comes back as an import.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "fsh/fsh_layout.h"
#include "portrait/picture_editing.h"
#include "support/archive_fixture.h"
#include "support/fsh_fixture.h"
#include "support/pixel_checks.h"
#include "support/portrait_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/portrait_window.h"

namespace {

QByteArray pngBytes(const QImage& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "png");
  return bytes;
}

// Qt reads a JPEG cut short without complaint, greying what is missing: a
// save still being written must not pass for a whole picture.
TEST(CompletePictureTest, APictureCutShortIsNotComplete) {
  for (const char* format : {"png", "jpeg"}) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(noisePicture({64, 64}, 3, false).save(&buffer, format));
    EXPECT_TRUE(portrait::completePicture(bytes, "face.png")) << format;
    EXPECT_FALSE(portrait::completePicture(bytes.left(bytes.size() * 3 / 4), "face.png")) << format;
  }
}

class PictureEditingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The chosen editor is remembered in the test's own settings.
    QStandardPaths::setTestModeEnabled(true);
    archive = writeFile(dir.filePath("ab12cd3.big"),
                        ArchiveFixture::playerPackage()
                            .withImage(portraitImage(fsh::Code::Argb8888, smoothPicture({16, 16})))
                            .build());
    ui.dialogs->nextFileName(archive);
    ui.click("loadButton");
  }

  // A shell script as the image editor; it gets the picture's path as $1.
  QString fakeEditor(const QString& body) {
    const QString path = dir.filePath("editor.sh");
    writeFile(path,
              ("#!/bin/sh\necho $$ > '" + dir.filePath("editor.pid") + "'\n" + body).toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
  }
  // Edit picture with..., the program chosen in its dialog.
  void editWith(const QString& program) {
    ui.dialogs->nextFileName(program);
    ui.window->editPictureWith();
    ASSERT_NE(ui.window->pictureEditing(), nullptr);
    folder = ui.window->pictureEditing()->folderPath();
  }
  bool sessionEnds(int timeoutMs) {
    const bool ended = QTest::qWaitFor([&] { return !ui.window->pictureEditing(); }, timeoutMs);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ended;
  }
  void TearDown() override {
    bool ok = false;
    const int pid = QString::fromLatin1(readFile(dir.filePath("editor.pid"))).trimmed().toInt(&ok);
    if (ok && pid > 0) ::kill(pid, SIGTERM);
  }

  QTemporaryDir dir;
  WindowUnderTest ui;
  QString archive;
  QString folder;
};

TEST_F(PictureEditingTest, EachCompleteSaveIsImportedOnceAndAHalfWrittenOneNever) {
  const QImage first = noisePicture({16, 16}, 5, true);
  const QImage second = noisePicture({16, 16}, 9, false);
  const QByteArray firstPng = pngBytes(first);
  const QString firstFile = writeFile(dir.filePath("first.png"), firstPng);
  const QString secondFile = writeFile(dir.filePath("second.png"), pngBytes(second));
  // Half of the first picture stays there for longer than a save takes to settle.
  const QString editor = fakeEditor(QStringLiteral("sleep 0.5\n"
                                                   "head -c %1 '%2' > \"$1\"\n"
                                                   "sleep 1.5\n"
                                                   "cat '%2' > \"$1\"\n"
                                                   "sleep 1.5\n"
                                                   "cp '%3' \"$1.new\" && mv \"$1.new\" \"$1\"\n"
                                                   "sleep 1\n")
                                        .arg(firstPng.size() / 2)
                                        .arg(firstFile, secondFile));
  ui.pictures->nextAcceptDefaults();
  ui.pictures->nextAcceptDefaults();
  editWith(editor);
  struct stat folderStatus {};
  ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &folderStatus), 0);
  EXPECT_EQ(folderStatus.st_mode & 0777, 0700u);
  EXPECT_TRUE(
      samePixels(smoothPicture({16, 16}), QImage(ui.window->pictureEditing()->picturePath())));

  // The editor ending ends the session, and its folder goes.
  ASSERT_TRUE(sessionEnds(15000));
  ASSERT_EQ(ui.pictures->shown.size(), 2u);
  EXPECT_EQ(ui.pictures->shown[0].pictureName, "ab12cd3.png");
  EXPECT_TRUE(samePixels(first, ui.pictures->shown[0].picture));
  EXPECT_TRUE(samePixels(second, ui.pictures->shown[1].picture));
  EXPECT_TRUE(samePixels(second, decodedPortrait(archive)));
  EXPECT_TRUE(samePixels(second, ui.window->portraitWindow()->picture()));
  EXPECT_FALSE(QFileInfo::exists(folder));
  EXPECT_TRUE(ui.messages->messages.empty());
}

TEST_F(PictureEditingTest, LoadingAnotherArchiveEndsTheSession) {
  editWith(fakeEditor(QStringLiteral("sleep 30\n")));
  const QString other =
      writeFile(dir.filePath("zz99yy8.big"),
                ArchiveFixture::playerPackage("zz99yy8")
                    .withImage(portraitImage(fsh::Code::Argb8888, smoothPicture({8, 8})))
                    .build());
  ui.dialogs->nextFileName(other);
  ui.click("loadButton");
  EXPECT_TRUE(sessionEnds(0));
  EXPECT_FALSE(QFileInfo::exists(folder));
}

}  // namespace
