#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "support/archive_fixture.h"
#include "support/scripted_dialogs.h"

namespace {

class SaveCommandTest : public ::testing::Test {
 protected:
  QString Write(const QByteArray& bytes, const QString& name) {
    return WriteFile(dir.filePath(name), bytes);
  }
  void Load(const QString& path) {
    ui.dialogs->NextFileName(path);
    ui.Click("Load");
    ASSERT_TRUE(ui.messages->messages.empty());
  }
  void Type(const char* box, const QString& text) {
    QLineEdit* edit = ui.Control<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void SaveAs(const QString& path) {
    ui.dialogs->NextFileName(path);
    ui.Click("Save");
  }
  QStringList Entries() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
  }

  QTemporaryDir dir;
  FormUnderTest ui;
};

TEST_F(SaveCommandTest, SavesTheTypedIdentifierAndMakesTheTargetCurrent) {
  const ArchiveFixture fixture = ArchiveFixture::PlayerPackage("old0001");
  const QString source = Write(fixture.Build(), "source.big");
  Load(source);
  Type("pkgtxt", "Ab12Cd3");
  const QString target = dir.filePath("target.big");
  SaveAs(target);

  ASSERT_EQ(ui.dialogs->shown.size(), 2u);
  const DialogRequest& request = ui.dialogs->shown[1];
  EXPECT_EQ(request.Kind, DialogKind::Save);
  EXPECT_EQ(request.DialogTitle, "Save");
  EXPECT_EQ(request.FileName, source);
  EXPECT_EQ(request.Filter, "EASports BIG Files (*.big)|*.big");
  EXPECT_EQ(request.DefaultExt, ".big");
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_EQ(request.Flags, 2);

  EXPECT_TRUE(ui.messages->messages.empty());
  ArchiveFixture expected = ArchiveFixture::PlayerPackage("ab12cd3");
  EXPECT_EQ(ReadFile(target), expected.Build());
  EXPECT_EQ(ReadFile(source), fixture.Build());
  EXPECT_EQ(ui.form->State().ArchivePath, target);
  // The box keeps the text as typed; the size label is not refreshed.
  EXPECT_EQ(ui.Control<QLineEdit>("pkgtxt")->text(), "Ab12Cd3");
  EXPECT_EQ(ui.Control<QLabel>("Showsize")->text(), "0.53 KB");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The next save starts from the saved file, even with the source gone.
  ASSERT_TRUE(QFile::remove(source));
  Type("pkgtxt", "Zz99Yy8");
  ui.dialogs->NextFileName(dir.filePath("third.big"));
  ui.Click("Save");
  EXPECT_EQ(ui.dialogs->shown.back().FileName, target);
  EXPECT_EQ(ReadFile(dir.filePath("third.big")), ArchiveFixture::PlayerPackage("zz99yy8").Build());
  EXPECT_EQ(ui.form->State().ArchivePath, dir.filePath("third.big"));
}

TEST_F(SaveCommandTest, ImportAndExportWorkOnTheSavedFile) {
  const ArchiveFixture fixture = ArchiveFixture::Jersey("old0001");
  const QString source = Write(fixture.Build(), "source.big");
  Load(source);
  Type("jrsytxt", "new0001");
  const QString saved = dir.filePath("saved.big");
  SaveAs(saved);

  const QByteArray image = FshImage(fixture.ImageLength, std::nullopt, 9);
  ui.dialogs->NextFileName(Write(image, "portrait.fsh"));
  ui.Click("Import");
  ui.dialogs->NextFileName(dir.filePath("exported.fsh"));
  ui.Click("Export");

  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ReadFile(saved).mid(fixture.OffsetOf(4)), image);
  EXPECT_EQ(ReadFile(dir.filePath("exported.fsh")), image);
  EXPECT_EQ(ReadFile(source), fixture.Build());
}

TEST_F(SaveCommandTest, AcceptingTheProposedNameSavesOverTheCurrentJersey) {
  ArchiveFixture fixture = ArchiveFixture::Jersey("old0001");
  fixture.TrailingBytes = 77;
  const QString path = Write(fixture.Build(), "jersey.big");
  Load(path);
  Type("jrsytxt", "NEW4444");
  SaveAs(path);

  fixture.NameTableId = "new4444";
  EXPECT_EQ(ReadFile(path), fixture.Build());
  EXPECT_EQ(Entries(), QStringList{"jersey.big"});
  EXPECT_TRUE(ui.messages->messages.empty());
}

TEST_F(SaveCommandTest, CancelIsSilentAndChangesNothing) {
  const QString path = Write(ArchiveFixture().Build(), "current.big");
  Load(path);
  Type("pkgtxt", "new0001");
  ui.dialogs->NextCancel();
  ui.Click("Save");

  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.form->State().ArchivePath, path);
  EXPECT_EQ(ui.form->State().SavePath, "");
  EXPECT_EQ(ReadFile(path), ArchiveFixture().Build());
  EXPECT_EQ(Entries(), QStringList{"current.big"});
}

TEST_F(SaveCommandTest, RefusedIdentifierKeepsTheCurrentArchive) {
  const QString path = Write(ArchiveFixture().Build(), "current.big");
  Load(path);
  Type("pkgtxt", "toolong1");
  SaveAs(dir.filePath("target.big"));

  ASSERT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_EQ(ui.messages->messages[0],
            (RecordedMessage{"Only 7 characters are allowed. No more no less", "Error",
                             MessageStyle::Plain}));
  EXPECT_EQ(Entries(), QStringList{"current.big"});
  EXPECT_EQ(ui.form->State().ArchivePath, path);

  // The next Save proposes the current archive again, not the refused target.
  ui.dialogs->NextCancel();
  ui.Click("Save");
  EXPECT_EQ(ui.dialogs->shown.back().FileName, path);
}

TEST_F(SaveCommandTest, ArchiveChangedSinceLoadingIsNotSaved) {
  const QString path = Write(ArchiveFixture().Build(), "current.big");
  Load(path);
  ArchiveFixture other;
  other.Marker = 0x42;
  const QByteArray replaced = other.Build();
  WriteFile(path, replaced);
  Type("pkgtxt", "new0001");
  SaveAs(path);

  ASSERT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_EQ(ui.messages->messages[0].Caption, "Invalid File");
  EXPECT_EQ(ui.messages->messages[0].Text,
            "The current archive current.big is no longer a valid portrait archive: its kind "
            "marker is unknown. Nothing was saved.");
  EXPECT_EQ(ReadFile(path), replaced);
}

TEST_F(SaveCommandTest, UnwritableTargetIsReportedAsAnErrorAndLeavesItAlone) {
  const QString path = Write(ArchiveFixture().Build(), "current.big");
  Load(path);
  Type("pkgtxt", "new0001");
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  SaveAs(dir.filePath("folder"));

  ASSERT_EQ(ui.messages->messages.size(), 1u);
  const RecordedMessage& message = ui.messages->messages[0];
  EXPECT_TRUE(message.Text.startsWith("ERROR: ")) << message.Text.toStdString();
  EXPECT_TRUE(message.Text.contains(QRegularExpression(R"(\. \[Error #[1-9][0-9]*\]$)")))
      << message.Text.toStdString();
  EXPECT_EQ(message.Caption, "Courtside Portraits Editor v1.1");
  EXPECT_EQ(message.Style, MessageStyle::Critical);
  EXPECT_EQ(ui.form->State().ArchivePath, path);
  EXPECT_EQ(Entries(), QStringList({"current.big", "folder"}));
  EXPECT_TRUE(QDir(dir.filePath("folder")).isEmpty());
}

}  // namespace
