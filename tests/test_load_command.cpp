#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "support/archive_fixture.h"
#include "support/scripted_dialogs.h"

namespace {

class LoadCommandTest : public ::testing::Test {
 protected:
  QString Write(const QByteArray& bytes, const QString& name) {
    return WriteFile(dir.filePath(name), bytes);
  }
  void LoadThroughDialog(const QString& path) {
    ui.dialogs->NextFileName(path);
    ui.Click("Load");
  }
  QLineEdit* Box(const char* name) { return ui.Control<QLineEdit>(name); }
  QString Size() { return ui.Control<QLabel>("Showsize")->text(); }
  bool Enabled(const char* name) { return ui.Control<QWidget>(name)->isEnabled(); }

  QTemporaryDir dir;
  FormUnderTest ui;
};

TEST_F(LoadCommandTest, StartsWithOnlyLoadAndAboutEnabled) {
  EXPECT_EQ(ui.form->windowTitle(), "Courtside Portraits Editor");
  for (const char* name : {"Load", "About"}) EXPECT_TRUE(Enabled(name)) << name;
  for (const char* name : {"Save", "Import", "Export", "pkgtxt", "jrsytxt"})
    EXPECT_FALSE(Enabled(name)) << name;
  EXPECT_EQ(Box("pkgtxt")->text(), "");
  EXPECT_EQ(Box("jrsytxt")->text(), "");
  EXPECT_EQ(Size(), "");
}

TEST_F(LoadCommandTest, ClickShowsTheLoadDialogAndTheArchive) {
  ArchiveFixture fixture = ArchiveFixture::Jersey("jer7777");
  fixture.TrailingBytes = 51234 - static_cast<int>(fixture.Build().size());
  const QString path = Write(fixture.Build(), "jersey.big");
  LoadThroughDialog(path);

  ASSERT_EQ(ui.dialogs->shown.size(), 1u);
  const DialogRequest& request = ui.dialogs->shown[0];
  EXPECT_EQ(request.Kind, DialogKind::Open);
  EXPECT_EQ(request.DialogTitle, "Load File");
  EXPECT_EQ(request.Filter, "EASports BIG Files (*.big)|*.big");
  EXPECT_EQ(request.DefaultExt, ".big");
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_EQ(request.Flags, 4);
  EXPECT_EQ(request.FileName, "");

  EXPECT_EQ(Box("jrsytxt")->text(), "jer7777");
  EXPECT_TRUE(Enabled("jrsytxt"));
  EXPECT_FALSE(Enabled("pkgtxt"));
  EXPECT_EQ(Size(), "51.234 KB");
  for (const char* name : {"Save", "Import", "Export"}) EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_EQ(ui.form->State().ArchivePath, path);
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The next dialog starts with the name the previous one returned.
  LoadThroughDialog(path);
  EXPECT_EQ(ui.dialogs->shown[1].FileName, path);
}

TEST_F(LoadCommandTest, RejectedLoadKeepsThePreviousArchiveCurrent) {
  const QString good = Write(ArchiveFixture::PlayerPackage("good123").Build(), "good.big");
  ArchiveFixture bad;
  bad.HeaderLengthRaw = 0x5D000000;
  const QString rejected = Write(bad.Build(), "bad.big");
  LoadThroughDialog(good);
  LoadThroughDialog(rejected);

  ASSERT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_EQ(ui.messages->messages[0].Text, "Not a portrait!! :)");
  EXPECT_EQ(ui.form->State().ArchivePath, good);
  EXPECT_EQ(Box("pkgtxt")->text(), "good123");
  EXPECT_TRUE(Enabled("Save"));

  // The Save dialog proposes the archive that loaded, never the rejected one.
  ui.dialogs->NextCancel();
  ui.Click("Save");
  EXPECT_EQ(ui.dialogs->shown.back().FileName, good);
}

TEST_F(LoadCommandTest, CancelShowsNothingAndChangesNothing) {
  const QString good = Write(ArchiveFixture::PlayerPackage("good123").Build(), "good.big");
  LoadThroughDialog(good);
  ui.dialogs->NextCancel();
  ui.Click("Load");
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.form->State().ArchivePath, good);
  EXPECT_EQ(Box("pkgtxt")->text(), "good123");
}

TEST_F(LoadCommandTest, DialogFailureIsReportedAsACommandError) {
  ui.dialogs->NextFailure(28671, "Insufficient memory");
  ui.Click("Load");
  ASSERT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_EQ(ui.messages->messages[0],
            (RecordedMessage{"ERROR: Insufficient memory. [Error #28671]",
                             "Courtside Portraits Editor v1.1", MessageStyle::Critical}));
  EXPECT_EQ(ui.form->State().ArchivePath, "");
}

TEST_F(LoadCommandTest, SizeUsesTheLocaleDecimalSeparator) {
  ArchiveFixture fixture;
  fixture.TrailingBytes = 51234 - static_cast<int>(fixture.Build().size());
  const QLocale english;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  LoadThroughDialog(Write(fixture.Build(), "de.big"));
  QLocale::setDefault(english);
  EXPECT_EQ(Size(), "51,234 KB");

  fixture.TrailingBytes += 50000 - 51234;
  LoadThroughDialog(Write(fixture.Build(), "round.big"));
  EXPECT_EQ(Size(), "50 KB");
}

}  // namespace
