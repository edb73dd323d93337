// The command line itself: help for each subcommand, the version, and usage
// errors that end with status 2 before any file is touched.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "support/archive_fixture.h"
#include "support/cli_process.h"
#include "support/file_snapshot.h"
#include "support/qt_printers.h"

namespace {

TEST(CliUsage, HelpForTheProgramAndEachSubcommand) {
  const std::pair<QStringList, const char*> cases[] = {
      {{"--help"}, "Usage: courtside-portraits-cli [OPTIONS] SUBCOMMAND"},
      {{"info", "--help"}, "Usage: courtside-portraits-cli info [OPTIONS] ARCHIVE..."},
      {{"set-id", "--help"}, "--map FILE"},
      {{"export", "-h"}, "--to DIR"},
      {{"import", "--help"}, "--mipmaps"},
  };
  for (const auto& [arguments, expected] : cases) {
    const CliRun result = runCli(arguments);
    EXPECT_EQ(result.exitCode, 0) << arguments.join(' ').toStdString();
    EXPECT_TRUE(result.outText().contains(expected)) << result.outText().toStdString();
    EXPECT_TRUE(result.err.isEmpty());
  }
}

TEST(CliUsage, VersionNamesTheProgramAndItsPackage) {
  const CliRun result = runCli({"--version"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.outText(), "courtside-portraits-cli (Courtside Portraits Editor) 1.1\n");
}

struct UsageError {
  const char* name;
  QStringList arguments;
  const char* message;  // the first line on standard error, after the program's name
};

class CliUsageError : public ::testing::TestWithParam<UsageError> {};

TEST_P(CliUsageError, EndsWithStatusTwoAndTouchesNothing) {
  QTemporaryDir dir;
  writeFile(dir.filePath("a.big"), ArchiveFixture().build());
  const FileTree before = snapshotTree(dir.path());

  const CliRun result = runCli(GetParam().arguments, {dir.path(), {}, {}});

  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.errText().section('\n', 0, 0),
            QStringLiteral("courtside-portraits-cli: ") + GetParam().message);
  EXPECT_TRUE(result.errText().contains("--help"));
  EXPECT_TRUE(result.out.isEmpty());
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CliUsageError,
    ::testing::Values(
        UsageError{"NoSubcommand", {}, "A subcommand is required"},
        UsageError{"UnknownSubcommand",
                   {"rename", "a.big"},
                   "unknown subcommand rename (known: info, set-id, export, import, thumbnail)"},
        UsageError{"NoArchive", {"info"}, "ARCHIVE is required"},
        UsageError{"UnknownOption",
                   {"info", "--colour", "a.big"},
                   "The following argument was not expected: --colour"},
        UsageError{"SetIdArguments",
                   {"set-id", "zz99yy8", "a.big"},
                   "set-id takes ID SOURCE TARGET, or --map FILE"},
        UsageError{"MapAndArguments",
                   {"set-id", "--map", "m.csv", "a.big"},
                   "set-id --map FILE takes no ID, SOURCE or TARGET"},
        UsageError{"ExportArguments",
                   {"export", "a.big"},
                   "export takes ARCHIVE OUTPUT, or --to DIR ARCHIVE..."},
        UsageError{
            "AsWithoutTo", {"export", "--as", "png", "a.big", "a.png"}, "--as requires --to"},
        UsageError{"ImportArguments",
                   {"import", "a.big"},
                   "import takes ARCHIVE INPUT, or --from DIR ARCHIVE..."},
        UsageError{"MatchWithoutFrom",
                   {"import", "--match", "identifier", "a.big", "p.png"},
                   "--match requires --from"},
        UsageError{"CropWithFrom",
                   {"import", "--from", "pics", "--crop", "0,0,8,8", "a.big"},
                   "--from excludes --crop"},
        UsageError{"ThumbnailSize",
                   {"thumbnail", "--size", "0", "a.big", "t.png"},
                   "--size: Value 0 not in range 1 to 65536"},
        UsageError{"FitMode",
                   {"import", "a.big", "p.png", "--fit", "crop"},
                   "--fit: crop is none of fill, fit, stretch"},
        UsageError{"MipmapCount",
                   {"import", "a.big", "p.png", "--mipmaps", "many"},
                   "--mipmaps: keep or a count of levels (0, 1, 2, ...) is needed, not many"},
        UsageError{"MipmapsBeyondTheFormat",
                   {"import", "a.big", "p.png", "--mipmaps", "16"},
                   "--mipmaps: at most 15 mipmap levels are possible, not 16"}),
    [](const auto& info) { return std::string(info.param.name); });

// Qt reads names as UTF-8: a name in another encoding would become another
// name, so that another file would be read or written.
TEST(CliUsage, ANameThatIsNotUtf8IsRefused) {
  QTemporaryDir dir;
  writeFile(dir.filePath(QString::fromUtf8("caf\xC3\xA9.big")), ArchiveFixture().build());
  const FileTree before = snapshotTree(dir.path());
  QProcess shell;
  shell.setWorkingDirectory(dir.path());
  shell.start("/bin/sh", {"-c", "exec \"$0\" set-id zz99yy8 a.big \"$(printf 'caf\\351.big')\"",
                          QStringLiteral(CPE_CLI_PATH)});
  ASSERT_TRUE(shell.waitForFinished(30000));
  EXPECT_EQ(shell.exitCode(), 2);
  EXPECT_TRUE(shell.readAllStandardError().startsWith(
      "courtside-portraits-cli: caf\xEF\xBF\xBD.big: this argument is not valid UTF-8"));
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

}  // namespace
