#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/scripted_dialogs.h"

namespace {

class SaveCommandTest : public ::testing::Test {
 protected:
  QString write(const QByteArray& bytes, const QString& name) {
    return writeFile(dir.filePath(name), bytes);
  }
  void load(const QString& path) {
    ui.dialogs->nextFileName(path);
    ui.click("loadButton");
    ASSERT_TRUE(ui.messages->messages.empty());
  }
  void type(const char* box, const QString& text) {
    QLineEdit* edit = ui.control<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void saveAs(const QString& path) {
    ui.dialogs->nextFileName(path);
    ui.click("saveButton");
  }
  QStringList entries() const { return entryNames(dir.path()); }

  QTemporaryDir dir;
  WindowUnderTest ui;
};

TEST_F(SaveCommandTest, SavesTheTypedIdentifierAndMakesTheTargetCurrent) {
  const ArchiveFixture fixture = ArchiveFixture::playerPackage("old0001");
  const QString source = write(fixture.build(), "source.big");
  load(source);
  type("playerPackageEdit", "Ab12Cd3");
  const QString target = dir.filePath("target.big");
  saveAs(target);

  ASSERT_EQ(ui.dialogs->shown.size(), 2u);
  const ui::DialogRequest& request = ui.dialogs->shown[1];
  EXPECT_EQ(request.kind, ui::DialogKind::Save);
  EXPECT_EQ(request.title, "Save");
  EXPECT_EQ(request.fileName, source);
  EXPECT_EQ(request.filter, "BIG archives (*.big)|*.big");
  EXPECT_EQ(request.defaultExt, ".big");
  EXPECT_EQ(request.filterIndex, 1);
  EXPECT_EQ(request.flags, 2);

  EXPECT_TRUE(ui.messages->messages.empty());
  ArchiveFixture expected = ArchiveFixture::playerPackage("ab12cd3");
  EXPECT_EQ(readFile(target), expected.build());
  EXPECT_EQ(readFile(source), fixture.build());
  EXPECT_EQ(ui.window->state().archivePath, target);
  // The box keeps the text as typed; the size label is not refreshed.
  EXPECT_EQ(ui.control<QLineEdit>("playerPackageEdit")->text(), "Ab12Cd3");
  EXPECT_EQ(ui.control<QLabel>("sizeLabel")->text(), "0.53 KB");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The next save starts from the saved file, even with the source gone.
  ASSERT_TRUE(QFile::remove(source));
  type("playerPackageEdit", "Zz99Yy8");
  ui.dialogs->nextFileName(dir.filePath("third.big"));
  ui.click("saveButton");
  EXPECT_EQ(ui.dialogs->shown.back().fileName, target);
  EXPECT_EQ(readFile(dir.filePath("third.big")), ArchiveFixture::playerPackage("zz99yy8").build());
  EXPECT_EQ(ui.window->state().archivePath, dir.filePath("third.big"));
}

TEST_F(SaveCommandTest, ImportAndExportWorkOnTheSavedFile) {
  const ArchiveFixture fixture = ArchiveFixture::jersey("old0001");
  const QString source = write(fixture.build(), "source.big");
  load(source);
  type("jerseyNameEdit", "new0001");
  const QString saved = dir.filePath("saved.big");
  saveAs(saved);

  const QByteArray image = fshImage(fixture.imageLength, std::nullopt, 9);
  ui.dialogs->nextFileName(write(image, "portrait.fsh"));
  ui.click("importButton");
  ui.dialogs->nextFileName(dir.filePath("exported.fsh"));
  ui.click("exportButton");

  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(readFile(saved).mid(fixture.offsetOf(4)), image);
  EXPECT_EQ(readFile(dir.filePath("exported.fsh")), image);
  EXPECT_EQ(readFile(source), fixture.build());
}

TEST_F(SaveCommandTest, AcceptingTheProposedNameSavesOverTheCurrentJersey) {
  ArchiveFixture fixture = ArchiveFixture::jersey("old0001");
  fixture.trailingBytes = 77;
  const QString path = write(fixture.build(), "jersey.big");
  load(path);
  type("jerseyNameEdit", "NEW4444");
  saveAs(path);

  fixture.nameTableId = "new4444";
  EXPECT_EQ(readFile(path), fixture.build());
  EXPECT_EQ(entries(), QStringList{"jersey.big"});
  EXPECT_TRUE(ui.messages->messages.empty());
}

TEST_F(SaveCommandTest, CancelIsSilentAndChangesNothing) {
  const QString path = write(ArchiveFixture().build(), "current.big");
  load(path);
  type("playerPackageEdit", "new0001");
  ui.dialogs->nextCancel();
  ui.click("saveButton");

  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.window->state().archivePath, path);
  EXPECT_EQ(ui.window->state().savePath, "");
  EXPECT_EQ(readFile(path), ArchiveFixture().build());
  EXPECT_EQ(entries(), QStringList{"current.big"});
}

TEST_F(SaveCommandTest, RefusedIdentifierKeepsTheCurrentArchive) {
  const QString path = write(ArchiveFixture().build(), "current.big");
  load(path);
  type("playerPackageEdit", "toolong1");
  saveAs(dir.filePath("target.big"));

  ASSERT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_EQ(ui.messages->messages[0],
            (RecordedMessage{"Only 7 characters are allowed. No more no less", "Error",
                             ui::MessageStyle::Plain}));
  EXPECT_EQ(entries(), QStringList{"current.big"});
  EXPECT_EQ(ui.window->state().archivePath, path);

  // The next Save proposes the current archive again, not the refused target.
  ui.dialogs->nextCancel();
  ui.click("saveButton");
  EXPECT_EQ(ui.dialogs->shown.back().fileName, path);
}

TEST_F(SaveCommandTest, ArchiveChangedSinceLoadingIsNotSaved) {
  const QString path = write(ArchiveFixture().build(), "current.big");
  load(path);
  ArchiveFixture other;
  other.marker = 0x42;
  const QByteArray replaced = other.build();
  writeFile(path, replaced);
  type("playerPackageEdit", "new0001");
  saveAs(path);

  ASSERT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_EQ(ui.messages->messages[0].caption, "Invalid File");
  EXPECT_EQ(ui.messages->messages[0].text,
            "The current archive \u2068current.big\u2069 is no longer a valid portrait archive: "
            "its kind marker is unknown. Nothing was saved.");
  EXPECT_EQ(readFile(path), replaced);
}

// Another program wrote an archive of the other kind over the loaded one.
TEST_F(SaveCommandTest, ArchiveOfTheOtherKindSinceLoadingIsNotSaved) {
  const std::pair<ArchiveFixture, ArchiveFixture> cases[] = {
      {ArchiveFixture::playerPackage("pkg0001"), ArchiveFixture::jersey("jer0001")},
      {ArchiveFixture::jersey("jer0001"), ArchiveFixture::playerPackage("pkg0001")}};
  for (const auto& [loaded, written] : cases) {
    const QString path = write(loaded.build(), "current.big");
    load(path);
    writeFile(path, written.build());
    const bool player = loaded.kind == archive::ArchiveKind::PlayerPackage;
    type(player ? "playerPackageEdit" : "jerseyNameEdit", "new0001");
    saveAs(path);

    ASSERT_EQ(ui.messages->messages.size(), 1u);
    EXPECT_EQ(ui.messages->messages[0],
              (RecordedMessage{"The current archive \u2068current.big\u2069 changed on disk since "
                               "it was loaded; load it again. Nothing was saved.",
                               "Error", ui::MessageStyle::Plain}));
    EXPECT_EQ(readFile(path), written.build());
    ui.messages->messages.clear();
  }
}

TEST_F(SaveCommandTest, FolderAsTargetIsRefusedAndLeftAlone) {
  const QString path = write(ArchiveFixture().build(), "current.big");
  load(path);
  type("playerPackageEdit", "new0001");
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  saveAs(dir.filePath("folder"));

  ASSERT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_EQ(ui.messages->messages[0],
            (RecordedMessage{QStringLiteral("\u2068%1\u2069 is a folder, not a regular file. "
                                            "Nothing was saved.")
                                 .arg(dir.filePath("folder")),
                             "Error", ui::MessageStyle::Plain}));
  EXPECT_EQ(ui.window->state().archivePath, path);
  EXPECT_EQ(entries(), QStringList({"current.big", "folder"}));
  EXPECT_TRUE(QDir(dir.filePath("folder")).isEmpty());
}

}  // namespace
