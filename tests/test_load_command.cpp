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
  QString write(const QByteArray& bytes, const QString& name) {
    return writeFile(dir.filePath(name), bytes);
  }
  void loadThroughDialog(const QString& path) {
    ui.dialogs->nextFileName(path);
    ui.click("loadButton");
  }
  QLineEdit* box(const char* name) { return ui.control<QLineEdit>(name); }
  QString size() { return ui.control<QLabel>("sizeLabel")->text(); }
  bool enabled(const char* name) { return ui.control<QWidget>(name)->isEnabled(); }

  QTemporaryDir dir;
  WindowUnderTest ui;
};

TEST_F(LoadCommandTest, StartsWithOnlyLoadAndAboutEnabled) {
  EXPECT_EQ(ui.window->windowTitle(), "Courtside Portraits Editor");
  for (const char* name : {"loadButton", "aboutButton"}) EXPECT_TRUE(enabled(name)) << name;
  for (const char* name :
       {"saveButton", "importButton", "exportButton", "playerPackageEdit", "jerseyNameEdit"})
    EXPECT_FALSE(enabled(name)) << name;
  EXPECT_EQ(box("playerPackageEdit")->text(), "");
  EXPECT_EQ(box("jerseyNameEdit")->text(), "");
  EXPECT_EQ(size(), "");
}

TEST_F(LoadCommandTest, ClickShowsTheLoadDialogAndTheArchive) {
  ArchiveFixture fixture = ArchiveFixture::jersey("jer7777");
  fixture.trailingBytes = 51234 - static_cast<int>(fixture.build().size());
  const QString path = write(fixture.build(), "jersey.big");
  loadThroughDialog(path);

  ASSERT_EQ(ui.dialogs->shown.size(), 1u);
  const ui::DialogRequest& request = ui.dialogs->shown[0];
  EXPECT_EQ(request.kind, ui::DialogKind::Open);
  EXPECT_EQ(request.title, "Load File");
  EXPECT_EQ(request.filter, "BIG archives (*.big)|*.big");
  EXPECT_EQ(request.defaultExt, ".big");
  EXPECT_EQ(request.filterIndex, 1);
  EXPECT_EQ(request.flags, 4);
  EXPECT_EQ(request.fileName, "");

  EXPECT_EQ(box("jerseyNameEdit")->text(), "jer7777");
  EXPECT_TRUE(enabled("jerseyNameEdit"));
  EXPECT_FALSE(enabled("playerPackageEdit"));
  EXPECT_EQ(size(), "51.234 KB");
  for (const char* name : {"saveButton", "importButton", "exportButton"})
    EXPECT_TRUE(enabled(name)) << name;
  EXPECT_EQ(ui.window->state().archivePath, path);
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The next dialog starts with the name the previous one returned.
  loadThroughDialog(path);
  EXPECT_EQ(ui.dialogs->shown[1].fileName, path);
}

TEST_F(LoadCommandTest, RejectedLoadKeepsThePreviousArchiveCurrent) {
  const QString good = write(ArchiveFixture::playerPackage("good123").build(), "good.big");
  ArchiveFixture bad;
  bad.headerLengthRaw = 0x5D000000;
  const QString rejected = write(bad.build(), "bad.big");
  loadThroughDialog(good);
  loadThroughDialog(rejected);

  ASSERT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_EQ(ui.messages->messages[0].text, "Not a portrait!! :)");
  EXPECT_EQ(ui.window->state().archivePath, good);
  EXPECT_EQ(box("playerPackageEdit")->text(), "good123");
  EXPECT_TRUE(enabled("saveButton"));

  // The Save dialog proposes the archive that loaded, never the rejected one.
  ui.dialogs->nextCancel();
  ui.click("saveButton");
  EXPECT_EQ(ui.dialogs->shown.back().fileName, good);
}

TEST_F(LoadCommandTest, CancelShowsNothingAndChangesNothing) {
  const QString good = write(ArchiveFixture::playerPackage("good123").build(), "good.big");
  loadThroughDialog(good);
  ui.dialogs->nextCancel();
  ui.click("loadButton");
  EXPECT_TRUE(ui.messages->messages.empty());
  EXPECT_EQ(ui.window->state().archivePath, good);
  EXPECT_EQ(box("playerPackageEdit")->text(), "good123");
}

TEST_F(LoadCommandTest, DialogFailureIsReportedAsACommandError) {
  ui.dialogs->nextFailure(28671, "Insufficient memory");
  ui.click("loadButton");
  ASSERT_EQ(ui.messages->messages.size(), 1u);
  EXPECT_EQ(ui.messages->messages[0],
            (RecordedMessage{"ERROR: Insufficient memory. [Error #28671]",
                             "Courtside Portraits Editor v1.1", ui::MessageStyle::Critical}));
  EXPECT_EQ(ui.window->state().archivePath, "");
}

TEST_F(LoadCommandTest, SizeUsesTheLocaleDecimalSeparator) {
  ArchiveFixture fixture;
  fixture.trailingBytes = 51234 - static_cast<int>(fixture.build().size());
  const QLocale english;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  loadThroughDialog(write(fixture.build(), "de.big"));
  QLocale::setDefault(english);
  EXPECT_EQ(size(), "51,234 KB");

  fixture.trailingBytes += 50000 - 51234;
  loadThroughDialog(write(fixture.build(), "round.big"));
  EXPECT_EQ(size(), "50 KB");
}

// Whatever digits a locale writes numbers with, the size shows 0-9; only the
// decimal separator is the locale's.
TEST_F(LoadCommandTest, SizeUsesTheDigitsZeroToNineInEveryLocale) {
  ArchiveFixture fixture;
  fixture.trailingBytes = 51234 - static_cast<int>(fixture.build().size());
  const QString path = write(fixture.build(), "sized.big");
  const std::pair<QLocale, QString> cases[] = {
      {QLocale(QLocale::Arabic, QLocale::Egypt), QString::fromUtf8("51\u066B234 KB")},
      {QLocale(QLocale::Persian, QLocale::Iran), QString::fromUtf8("51\u066B234 KB")},
      {QLocale(QLocale::Marathi, QLocale::India), "51.234 KB"},
      {QLocale(QLocale::Bengali, QLocale::Bangladesh), "51.234 KB"},
  };
  const QLocale english;
  for (const auto& [locale, expected] : cases) {
    QLocale::setDefault(locale);
    loadThroughDialog(path);
    QLocale::setDefault(english);
    EXPECT_EQ(size(), expected) << locale.name().toStdString();
  }
}

}  // namespace
