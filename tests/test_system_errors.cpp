// Every failure of the operating system is told with its own number (errno)
// and the system's words for it: "ERROR: <strerror>. [Error #<errno>]".
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <functional>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/recording_window.h"
#include "ui/command_routines.h"

namespace {

enum class Command { Save, Import, Export };

struct SystemErrorCase {
  const char* name;
  Command command;
  std::function<void(const QTemporaryDir&, ui::WindowState&)> setUp;
  int number;
};
void PrintTo(const SystemErrorCase& c, std::ostream* os) { *os << c.name; }

class SystemErrors : public ::testing::TestWithParam<SystemErrorCase> {};

TEST_P(SystemErrors, AreToldWithTheirNumberAndTheSystemsWords) {
  const SystemErrorCase& c = GetParam();
  QTemporaryDir dir;
  RecordingWindow window;
  ui::WindowState& state = window.state();
  state.archivePath = writeFile(dir.filePath("portrait.big"), ArchiveFixture().build());
  state.importPath = writeFile(dir.filePath("new.fsh"), fshImage(256, std::nullopt, 4));
  state.savePath = dir.filePath("saved.big");
  state.exportPath = dir.filePath("exported.fsh");
  window.text[0] = "new0001";
  c.setUp(dir, state);
  const FileTree before = snapshotTree(dir.path());

  const bool done = c.command == Command::Save     ? ui::saveArchiveFrom(window)
                    : c.command == Command::Import ? ui::importPortraitInto(window)
                                                   : ui::exportPortraitFrom(window);
  EXPECT_FALSE(done);
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, QStringLiteral("ERROR: %1. [Error #%2]")
                                         .arg(QString::fromLocal8Bit(std::strerror(c.number)))
                                         .arg(c.number));
  EXPECT_EQ(window.messages[0].style, ui::MessageStyle::Critical);
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

const QString TooLongName = QString("n").repeated(300) + ".fsh";

INSTANTIATE_TEST_SUITE_P(
    Failures, SystemErrors,
    ::testing::Values(SystemErrorCase{"ArchiveMissing", Command::Export,
                                      [](const QTemporaryDir& d, ui::WindowState& s) {
                                        s.archivePath = d.filePath("missing.big");
                                      },
                                      ENOENT},
                      SystemErrorCase{"ImageMissing", Command::Import,
                                      [](const QTemporaryDir& d, ui::WindowState& s) {
                                        s.importPath = d.filePath("missing.fsh");
                                      },
                                      ENOENT},
                      SystemErrorCase{"TargetFolderMissing", Command::Save,
                                      [](const QTemporaryDir& d, ui::WindowState& s) {
                                        s.savePath = d.filePath("missing/saved.big");
                                      },
                                      ENOENT},
                      SystemErrorCase{"TargetUnderAFile", Command::Export,
                                      [](const QTemporaryDir&, ui::WindowState& s) {
                                        s.exportPath = s.archivePath + "/exported.fsh";
                                      },
                                      ENOTDIR},
                      SystemErrorCase{"TargetNameTooLong", Command::Export,
                                      [](const QTemporaryDir& d, ui::WindowState& s) {
                                        s.exportPath = d.filePath(TooLongName);
                                      },
                                      ENAMETOOLONG},
                      SystemErrorCase{"TargetLinksInALoop", Command::Save,
                                      [](const QTemporaryDir& d, ui::WindowState& s) {
                                        QFile::link(d.filePath("b.big"), d.filePath("a.big"));
                                        QFile::link(d.filePath("a.big"), d.filePath("b.big"));
                                        s.savePath = d.filePath("a.big");
                                      },
                                      ELOOP}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
