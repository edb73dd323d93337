#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include "support/archive_fixture.h"
#include "support/scripted_dialogs.h"

namespace {

// A dialog's settings in one line: kind, file name, filter, index, extension, title, flags.
QString Settings(const DialogRequest& r) {
  return QStringList{r.Kind == DialogKind::Open ? "open" : "save",
                     r.FileName,
                     r.Filter,
                     QString::number(r.FilterIndex),
                     r.DefaultExt,
                     r.DialogTitle,
                     QString::number(r.Flags)}
      .join(" ; ");
}

class PortraitCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    archive = ArchiveFixture::Jersey("jer5150");
    archivePath = Write(archive.Build(), "portrait.big");
    ClickWith("Load", archivePath);
    ASSERT_TRUE(ui.messages->messages.empty());
  }
  QString Write(const QByteArray& bytes, const QString& name) {
    return WriteFile(dir.filePath(name), bytes);
  }
  void ClickWith(const char* button, const QString& answer) {
    ui.dialogs->NextFileName(answer);
    ui.Click(button);
  }
  void ClickAndCancel(const char* button) {
    ui.dialogs->NextCancel();
    ui.Click(button);
  }
  const DialogRequest& LastDialog() const { return ui.dialogs->shown.back(); }

  QTemporaryDir dir;
  FormUnderTest ui;
  ArchiveFixture archive;
  QString archivePath;
};

TEST_F(PortraitCommandTest, ExportWritesTheImageAndItsNameStartsTheNextDialogs) {
  const QStringList before = ui.ShownArchive();
  const QString target = dir.filePath("portrait.fsh");
  ClickWith("Export", target);

  EXPECT_EQ(Settings(LastDialog()),
            "save ; *.fsh ; FSH files (*.fsh)|*.fsh ; 1 ; .fsh ; Export ; 2");
  EXPECT_EQ(ReadFile(target), archive.Build().mid(archive.OffsetOf(4), archive.ImageLength));
  EXPECT_EQ(ui.form->State().ExportPath, target);
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.ShownArchive(), before);

  ClickAndCancel("Load");
  EXPECT_EQ(LastDialog().FileName, target);
  ClickAndCancel("Import");
  EXPECT_EQ(Settings(LastDialog()),
            "open ; " + target + " ; FSH files (*.fsh)|*.fsh ; 1 ; .fsh ; Import ; 4");
  EXPECT_EQ(ui.form->State().ArchivePath, archivePath);
  EXPECT_EQ(ui.form->State().ImportPath, "");
}

TEST_F(PortraitCommandTest, CancelledExportLeavesTheStarPatternForTheNextDialogs) {
  const auto filesBefore = QDir(dir.path()).entryList(QDir::Files);
  ClickAndCancel("Export");
  EXPECT_EQ(ui.form->State().ExportPath, "");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), filesBefore);

  ClickAndCancel("Import");
  EXPECT_EQ(LastDialog().FileName, "*.fsh");
  ClickAndCancel("Load");
  EXPECT_EQ(LastDialog().FileName, "*.fsh");
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.form->State().ArchivePath, archivePath);
}

TEST_F(PortraitCommandTest, ImportReplacesTheImageAndLoadsAndExportsBack) {
  const QStringList before = ui.ShownArchive();
  const QByteArray image = FshImage(archive.ImageLength, std::nullopt, 42);
  const QString source = Write(image, "new.fsh");
  ClickWith("Import", source);

  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.form->State().ImportPath, source);
  EXPECT_EQ(ui.ShownArchive(), before) << "Import changes nothing in the window";
  EXPECT_EQ(ReadFile(archivePath).mid(archive.OffsetOf(4), image.size()), image);

  ClickWith("Load", archivePath);
  EXPECT_EQ(ui.ShownArchive(), before);
  const QString target = dir.filePath("back.fsh");
  ClickWith("Export", target);
  EXPECT_EQ(ReadFile(target), image);
  EXPECT_TRUE(ui.messages->messages.empty());
}

TEST_F(PortraitCommandTest, RefusedOrFailedImportReportsOnceAndKeepsTheLastImportPath) {
  const QString good = Write(FshImage(archive.ImageLength, std::nullopt, 7), "good.fsh");
  ClickWith("Import", good);
  const QByteArray afterImport = ReadFile(archivePath);

  ClickWith("Import", Write(FshImage(100, 99), "bad.fsh"));
  ClickWith("Import", dir.filePath("gone.fsh"));
  ClickAndCancel("Import");

  ASSERT_EQ(ui.messages->messages.size(), 2u);
  EXPECT_EQ(
      ui.messages->messages[0],
      (RecordedMessage{"This is not an FSH image: its length field does not match the file's size.",
                       "Invalid File", MessageStyle::Plain}));
  EXPECT_EQ(ui.messages->messages[1].Caption, "Courtside Portraits Editor v1.1");
  EXPECT_EQ(ui.messages->messages[1].Style, MessageStyle::Critical);
  EXPECT_TRUE(ui.messages->messages[1].Text.startsWith("ERROR: "));
  EXPECT_EQ(ui.form->State().ImportPath, good);
  EXPECT_EQ(ReadFile(archivePath), afterImport);
}

}  // namespace
