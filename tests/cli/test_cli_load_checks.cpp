// import and export work only on an archive the window could load: any other
// is refused with the reason Load gives and left as it was, whatever the
// other file, and the other archives of a batch are still exported.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <tuple>

#include "archive/archive_layout.h"
#include "fsh/fsh_layout.h"
#include "support/cli_process.h"
#include "support/file_snapshot.h"
#include "support/fsh_fixture.h"
#include "support/portrait_archive.h"
#include "support/qt_printers.h"

namespace {

struct ArchiveFault {
  const char* name;
  void (*spoil)(ArchiveFixture&);
  const char* reason;
};

void PrintTo(const ArchiveFault& c, std::ostream* os) { *os << c.name; }

// The arguments name the spoiled archive bad.big; good.big passes every check.
struct Command {
  const char* name;
  QStringList arguments;
};

void PrintTo(const Command& c, std::ostream* os) { *os << c.name; }

class CliLoadChecks : public ::testing::TestWithParam<std::tuple<ArchiveFault, Command>> {};

TEST_P(CliLoadChecks, RefuseTheArchiveAndWriteNothingForIt) {
  const auto& [fault, command] = GetParam();
  QTemporaryDir dir;
  const QByteArray portrait = samplePortrait(fsh::Code::Argb8888);
  ArchiveFixture spoiled;
  fault.spoil(spoiled);
  writeFile(dir.filePath("bad.big"), archiveWithPortrait(spoiled, portrait));
  writeFile(dir.filePath("good.big"), archiveWithPortrait(ArchiveFixture(), portrait));
  writeFile(dir.filePath("new.fsh"), samplePortrait(fsh::Code::Dxt1));
  ASSERT_TRUE(smoothPicture({32, 32}).save(dir.filePath("new.png")));
  QDir(dir.path()).mkdir("out");
  const FileTree before = snapshotTree(dir.path());

  const CliRun result = runCli(command.arguments, {dir.path(), {}, {}});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(),
            QStringLiteral("courtside-portraits-cli: bad.big: ") + fault.reason + "\n");
  FileTree after = snapshotTree(dir.path());
  if (command.arguments.contains("--to")) {
    EXPECT_EQ(readFile(dir.filePath("out/good.fsh")), portrait);
    after.remove("out/good.fsh");
  }
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    FaultsAndCommands, CliLoadChecks,
    ::testing::Combine(
        ::testing::Values(ArchiveFault{"NotPortrait",
                                       [](ArchiveFixture& f) {
                                         f.headerLengthRaw =
                                             archive::ArchiveLayout::NotPortraitHeaderLength;
                                       },
                                       "its header is not that of a portrait archive"},
                          ArchiveFault{"UnknownHeaderLength",
                                       [](ArchiveFixture& f) { f.headerLengthRaw = 7; },
                                       "its header length is unknown"},
                          ArchiveFault{"UnknownMarker", [](ArchiveFixture& f) { f.marker = 0; },
                                       "its kind marker is unknown"}),
        ::testing::Values(Command{"ImportFsh", {"import", "bad.big", "new.fsh"}},
                          Command{"ImportPicture", {"import", "bad.big", "new.png"}},
                          Command{"ExportFsh", {"export", "bad.big", "p.fsh"}},
                          Command{"ExportPicture", {"export", "bad.big", "p.png"}},
                          Command{"ExportToFolder",
                                  {"export", "--to", "out", "good.big", "bad.big"}})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
    });

}  // namespace
