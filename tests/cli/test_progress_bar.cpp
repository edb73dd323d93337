// The progress bar: its line, and that it appears only on a terminal.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QTemporaryDir>

#include "cli/progress_bar.h"
#include "support/archive_fixture.h"
#include "support/cli_process.h"

namespace {

TEST(ProgressBar, LineShowsTheShareDone) {
  EXPECT_EQ(cli::progressLine(0, 4, 8), "[--------] 0/4");
  EXPECT_EQ(cli::progressLine(1, 4, 8), "[##------] 1/4");
  EXPECT_EQ(cli::progressLine(4, 4, 8), "[########] 4/4");
  EXPECT_EQ(cli::progressLine(7, 1000, 10), "[----------]    7/1000");
  EXPECT_EQ(cli::progressLine(999, 1000, 10), "[#########-]  999/1000");
}

class CliProgress : public ::testing::Test {
 protected:
  CliProgress() {
    for (const char* name : {"a.big", "b.big", "c.big"})
      writeFile(dir.filePath(name), ArchiveFixture().build());
  }
  QTemporaryDir dir;
};

TEST_F(CliProgress, NoneWhenStandardErrorIsNotATerminal) {
  const CliRun result = runCli({"info", "a.big", "b.big", "c.big"}, {dir.path(), {}, {}});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(result.err.isEmpty());
}

// Standard error on a terminal: the bar is drawn, finished and erased; the
// listing on standard output is untouched by it.
TEST_F(CliProgress, DrawnAndErasedOnATerminal) {
  int controller = -1;
  int terminal = -1;
  ASSERT_EQ(::openpty(&controller, &terminal, nullptr, nullptr, nullptr), 0);
  CliOptions options{dir.path(), {}, [terminal] { ::dup2(terminal, STDERR_FILENO); }};

  const CliRun shown = runCli({"info", "a.big", "b.big", "c.big"}, options);
  const CliRun quiet = runCli({"info", "--quiet", "a.big", "b.big", "c.big"}, options);
  ::close(terminal);
  QByteArray drawn;
  char buffer[4096];
  for (ssize_t n; (n = ::read(controller, buffer, sizeof buffer)) > 0;) drawn.append(buffer, n);
  ::close(controller);

  EXPECT_EQ(shown.exitCode, 0);
  EXPECT_EQ(shown.outText().count('\n'), 3);
  EXPECT_EQ(quiet.out, shown.out);
  EXPECT_TRUE(drawn.startsWith("\r[" + QByteArray(30, '-') + "] 0/3")) << drawn.toStdString();
  EXPECT_TRUE(drawn.contains("\r[" + QByteArray(30, '#') + "] 3/3")) << drawn.toStdString();
  EXPECT_TRUE(drawn.endsWith("\r\033[K")) << drawn.toStdString();
  // Once for each run's bar, none from the quiet run.
  EXPECT_EQ(drawn.count("0/3"), 1);
}

}  // namespace
