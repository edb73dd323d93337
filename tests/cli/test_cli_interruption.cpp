// A batch that is interrupted (Ctrl-C, or a reader of its output that went
// away) ends between two files, as the signal asks: every target is either
// complete or untouched, and no temporary file is left.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/qt_printers.h"

namespace {

constexpr int Archives = 300;

QString name(int i) { return QStringLiteral("a%1.big").arg(i, 3, 10, QLatin1Char('0')); }

// Archives to save into out/, whose files hold "old" until then.
class CliInterruption : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir(dir.path()).mkdir("out");
    fixture.trailingBytes = 50 * 1024 - fixture.length();
    QByteArray map;
    for (int i = 0; i < Archives; ++i) {
      writeFile(dir.filePath(name(i)), fixture.build());
      writeFile(dir.filePath("out/" + name(i)), "old");
      map += QStringLiteral("%1,out/%1,zz99yy8\n").arg(name(i)).toUtf8();
    }
    writeFile(dir.filePath("roster.csv"), map);
  }

  // Each target is complete or "old", and nothing else is in out/.
  int countDone() {
    const QByteArray saved = fixture.buildSavedAs("ZZ99YY8", "zz99yy8", 1);
    int done = 0;
    QStringList expected;
    for (int i = 0; i < Archives; ++i) {
      expected << name(i);
      const QByteArray bytes = readFile(dir.filePath("out/" + name(i)));
      EXPECT_TRUE(bytes == "old" || bytes == saved) << name(i).toStdString();
      done += bytes == saved;
    }
    EXPECT_EQ(entryNames(dir.filePath("out")), expected);
    return done;
  }

  void start(QProcess& cli, const QStringList& arguments) {
    cli.setWorkingDirectory(dir.path());
    cli.start(QStringLiteral(CPE_CLI_PATH), arguments);
    ASSERT_TRUE(cli.waitForStarted());
  }

  QTemporaryDir dir;
  ArchiveFixture fixture;
};

// The batch commits in groups of 20 (the open-file limit decides), and its
// notes fill a pipe of one page that nobody reads until the signal is sent:
// it cannot finish before, so the signal always lands within the batch.
TEST_F(CliInterruption, CtrlCEndsTheBatchBetweenTwoFiles) {
  QProcess cli;
  cli.setChildProcessModifier([] {
    const rlimit files{64 + 2 * 20, 64 + 2 * 20};
    ::setrlimit(RLIMIT_NOFILE, &files);
    ::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 4096);
  });
  start(cli, {"set-id", "--map", "roster.csv"});
  QElapsedTimer waited;
  waited.start();
  while (readFile(dir.filePath("out/" + name(0))) == "old" && waited.elapsed() < 30000)
    QThread::msleep(1);
  ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
  ASSERT_TRUE(cli.waitForFinished(60000));

  EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit);
  EXPECT_TRUE(cli.readAllStandardError().contains("interrupted"));
  const int done = countDone();
  EXPECT_GT(done, 0);
  EXPECT_LT(done, Archives);
}

// `| head -1`: the reader is gone before the first note, whose write ends the
// batch; a dry run's prepared files go too.
TEST_F(CliInterruption, AClosedOutputPipeEndsTheBatchAndLeavesNoTemporaryFile) {
  for (const bool dryRun : {true, false}) {
    QProcess cli;
    QStringList arguments{"set-id", "--map", "roster.csv"};
    if (dryRun) arguments << "--dry-run";
    cli.setChildProcessModifier([] {
      int ends[2];
      if (::pipe(ends) != 0) ::_exit(100);
      ::close(ends[0]);
      ::dup2(ends[1], STDOUT_FILENO);
    });
    start(cli, arguments);
    ASSERT_TRUE(cli.waitForFinished(60000));

    EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit) << dryRun;
    const int done = countDone();
    if (dryRun) {
      EXPECT_EQ(done, 0);
    }
  }
}

struct WaitingCase {
  const char* name;
  int signal;
  const char* map;  // a FIFO nobody writes, or standard input that nobody closes
};

class CliInterruptionWhileWaiting : public ::testing::TestWithParam<WaitingCase> {};

// Before anything is prepared, the signal ends the program where it waits.
TEST_P(CliInterruptionWhileWaiting, ReadingTheMapEndsAsTheSignalAsks) {
  QTemporaryDir dir;
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
  QProcess cli;
  cli.setWorkingDirectory(dir.path());
  cli.start(QStringLiteral(CPE_CLI_PATH), {"set-id", "--map", GetParam().map});
  ASSERT_TRUE(cli.waitForStarted());
  QThread::msleep(300);  // inside its open or read of the map by then
  ::kill(static_cast<pid_t>(cli.processId()), GetParam().signal);
  const bool ended = cli.waitForFinished(2000);
  if (!ended) cli.kill();
  ASSERT_TRUE(ended);
  EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(cli.exitCode(), GetParam().signal);  // the signal that ended it
}

INSTANTIATE_TEST_SUITE_P(Signals, CliInterruptionWhileWaiting,
                         ::testing::Values(WaitingCase{"TermOnAFifo", SIGTERM, "fifo"},
                                           WaitingCase{"HangUpOnAFifo", SIGHUP, "fifo"},
                                           WaitingCase{"CtrlCOnStandardInput", SIGINT, "-"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
