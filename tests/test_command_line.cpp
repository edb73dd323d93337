// The editor's command line: a file to open as Load opens it, --help and
// --version without a window, and the version from the build.
#include <gtest/gtest.h>

#include <QCommandLineParser>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include "support/archive_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/application_title.h"
#include "ui/command_line.h"

namespace {

TEST(CommandLine, OnlyHelpAndVersionAskForTextAlone) {
  const std::pair<QStringList, bool> cases[] = {
      {{"editor"}, false},
      {{"editor", "portrait.big"}, false},
      {{"editor", "--help"}, true},
      {{"editor", "-h"}, true},
      {{"editor", "portrait.big", "--version"}, true},
      {{"editor", "-v"}, true},
      // After "--" everything is a file name, even one called --help.
      {{"editor", "--", "--help"}, false},
  };
  for (const auto& [arguments, textOnly] : cases)
    EXPECT_EQ(ui::asksOnlyForText(arguments), textOnly) << arguments.join(' ').toStdString();
}

TEST(CommandLine, TheFirstPositionalArgumentIsTheArchive) {
  for (const auto& [arguments, archive] :
       {std::pair<QStringList, std::optional<QString>>{{"editor"}, std::nullopt},
        {{"editor", "/tmp/a b.big"}, "/tmp/a b.big"},
        {{"editor", "--", "--help"}, "--help"}}) {
    QCommandLineParser parser;
    ui::describeCommandLine(parser);
    ASSERT_TRUE(parser.parse(arguments)) << parser.errorText().toStdString();
    EXPECT_EQ(ui::archiveArgument(parser), archive);
  }
}

// The real program, with no display to connect to.
QString runEditor(const QStringList& arguments, int* exitCode) {
  QProcess editor;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.remove("QT_QPA_PLATFORM");
  editor.setProcessEnvironment(environment);
  editor.start(QStringLiteral(CPE_EDITOR_PATH), arguments);
  if (!editor.waitForFinished(20000)) {
    editor.kill();
    editor.waitForFinished();
  }
  *exitCode = editor.exitStatus() == QProcess::NormalExit ? editor.exitCode() : -1;
  return QString::fromLocal8Bit(editor.readAllStandardOutput());
}

TEST(CommandLine, VersionAndHelpWorkWithoutADisplay) {
  int exitCode = -1;
  EXPECT_EQ(runEditor({"--version"}, &exitCode), "Courtside Portraits Editor 1.1\n");
  EXPECT_EQ(exitCode, 0);
  const QString help = runEditor({"--help"}, &exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(help.contains("[archive|folder]")) << help.toStdString();
  EXPECT_TRUE(help.contains("--version")) << help.toStdString();
}

TEST(CommandLine, TheTitleCarriesTheBuildVersion) {
  EXPECT_EQ(ui::applicationTitle(), "Courtside Portraits Editor v1.1");
}

TEST(CommandLine, AFileFromTheCommandLineShowsItsIdentifierAndSize) {
  QTemporaryDir dir;
  ArchiveFixture fixture = ArchiveFixture::jersey("cmd4321");
  fixture.trailingBytes = 51234 - fixture.length();
  const QString path = writeFile(dir.filePath("portrait.big"), fixture.build());
  WindowUnderTest ui;
  ui.window->openArchive(path);

  EXPECT_EQ(ui.shownArchive(), QStringList({"", "disabled", "cmd4321", "enabled", "51.234 KB",
                                            "enabled", "enabled", "enabled"}));
  EXPECT_EQ(ui.window->state().archivePath, path);
  EXPECT_TRUE(ui.messages->messages.empty());
  // The next Load dialog starts from it, as from a file chosen there.
  ui.dialogs->nextCancel();
  ui.click("loadButton");
  EXPECT_EQ(ui.dialogs->shown.back().fileName, path);
}

TEST(CommandLine, ARefusedFileIsToldAsLoadTellsIt) {
  QTemporaryDir dir;
  ArchiveFixture notPortrait;
  notPortrait.headerLengthRaw = 0x5D000000;
  WindowUnderTest ui;
  ui.window->openArchive(writeFile(dir.filePath("other.big"), notPortrait.build()));
  ui.window->openArchive(dir.filePath("missing.big"));

  EXPECT_EQ(ui.messages->messages,
            (std::vector<RecordedMessage>{
                {"Not a portrait!! :)", "Error", ui::MessageStyle::Plain},
                {"Unable to decode binary file.", "Error", ui::MessageStyle::Plain}}));
  EXPECT_EQ(ui.window->state().archivePath, "");
  EXPECT_FALSE(ui.control<QWidget>("saveButton")->isEnabled());
}

}  // namespace
