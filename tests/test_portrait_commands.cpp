#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/scripted_dialogs.h"

namespace {

// A dialog's settings in one line: kind, file name, filter, index, extension, title, flags.
QString settings(const ui::DialogRequest& r) {
  return QStringList{r.kind == ui::DialogKind::Open ? "open" : "save",
                     r.fileName,
                     r.filter,
                     QString::number(r.filterIndex),
                     r.defaultExt,
                     r.title,
                     QString::number(r.flags)}
      .join(" ; ");
}

class PortraitCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    archive = ArchiveFixture::jersey("jer5150");
    archivePath = write(archive.build(), "portrait.big");
    clickWith("loadButton", archivePath);
    ASSERT_TRUE(ui.messages->messages.empty());
  }
  QString write(const QByteArray& bytes, const QString& name) {
    return writeFile(dir.filePath(name), bytes);
  }
  void clickWith(const char* button, const QString& answer) {
    ui.dialogs->nextFileName(answer);
    ui.click(button);
  }
  void clickAndCancel(const char* button) {
    ui.dialogs->nextCancel();
    ui.click(button);
  }
  const ui::DialogRequest& lastDialog() const { return ui.dialogs->shown.back(); }

  QTemporaryDir dir;
  WindowUnderTest ui;
  ArchiveFixture archive;
  QString archivePath;
};

TEST_F(PortraitCommandTest, ExportWritesTheImageAndItsNameStartsTheNextDialogs) {
  const QStringList before = ui.shownArchive();
  const QString target = dir.filePath("portrait.fsh");
  clickWith("exportButton", target);

  EXPECT_EQ(settings(lastDialog()),
            "save ; *.fsh ; FSH files (*.fsh)|*.fsh|PNG pictures (*.png)|*.png|BMP pictures "
            "(*.bmp)|*.bmp|JPEG pictures (*.jpg *.jpeg)|*.jpg;*.jpeg ; 1 ; .fsh ; Export ; 2");
  EXPECT_EQ(readFile(target), archive.build().mid(archive.offsetOf(4), archive.imageLength));
  EXPECT_EQ(ui.window->state().exportPath, target);
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.shownArchive(), before);

  clickAndCancel("loadButton");
  EXPECT_EQ(lastDialog().fileName, target);
  clickAndCancel("importButton");
  // FSH images first; then every picture format Import reads, TGA among them.
  const QString import = settings(lastDialog());
  EXPECT_TRUE(import.startsWith("open ; " + target + " ; FSH files (*.fsh)|*.fsh|Pictures (*."))
      << import.toStdString();
  EXPECT_TRUE(import.contains(" *.tga ")) << import.toStdString();
  EXPECT_TRUE(import.endsWith(" ; 1 ; .fsh ; Import ; 4")) << import.toStdString();
  EXPECT_EQ(ui.window->state().archivePath, archivePath);
  EXPECT_EQ(ui.window->state().importPath, "");
}

TEST_F(PortraitCommandTest, CancelledExportLeavesTheStarPatternForTheNextDialogs) {
  const FileTree before = snapshotTree(dir.path());
  clickAndCancel("exportButton");
  EXPECT_EQ(ui.window->state().exportPath, "");
  EXPECT_EQ(snapshotTree(dir.path()), before);

  clickAndCancel("importButton");
  EXPECT_EQ(lastDialog().fileName, "*.fsh");
  clickAndCancel("loadButton");
  EXPECT_EQ(lastDialog().fileName, "*.fsh");
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.window->state().archivePath, archivePath);
}

TEST_F(PortraitCommandTest, ImportReplacesTheImageAndLoadsAndExportsBack) {
  const QStringList before = ui.shownArchive();
  const QByteArray image = fshImage(archive.imageLength, std::nullopt, 42);
  const QString source = write(image, "new.fsh");
  clickWith("importButton", source);

  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.window->state().importPath, source);
  EXPECT_EQ(ui.shownArchive(), before) << "Import changes nothing in the window";
  EXPECT_EQ(readFile(archivePath).mid(archive.offsetOf(4), image.size()), image);

  clickWith("loadButton", archivePath);
  EXPECT_EQ(ui.shownArchive(), before);
  const QString target = dir.filePath("back.fsh");
  clickWith("exportButton", target);
  EXPECT_EQ(readFile(target), image);
  EXPECT_TRUE(ui.messages->messages.empty());
}

TEST_F(PortraitCommandTest, RefusedOrFailedImportReportsOnceAndKeepsTheLastImportPath) {
  const QString good = write(fshImage(archive.imageLength, std::nullopt, 7), "good.fsh");
  clickWith("importButton", good);
  const QByteArray afterImport = readFile(archivePath);

  clickWith("importButton", write(fshImage(100, 99), "bad.fsh"));
  clickWith("importButton", dir.filePath("gone.fsh"));
  clickAndCancel("importButton");

  ASSERT_EQ(ui.messages->messages.size(), 2u);
  EXPECT_EQ(
      ui.messages->messages[0],
      (RecordedMessage{"This is not an FSH image: its length field does not match the file's size.",
                       "Invalid File", ui::MessageStyle::Plain}));
  EXPECT_EQ(ui.messages->messages[1].caption, "Courtside Portraits Editor v1.1");
  EXPECT_EQ(ui.messages->messages[1].style, ui::MessageStyle::Critical);
  EXPECT_TRUE(ui.messages->messages[1].text.startsWith("ERROR: "));
  EXPECT_EQ(ui.window->state().importPath, good);
  EXPECT_EQ(readFile(archivePath), afterImport);
}

}  // namespace
