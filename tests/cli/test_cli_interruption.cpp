// Ctrl-C in the middle of a batch: the program ends as the signal asks, after
// the file it was writing; every target is either complete or untouched, and
// no temporary file is left.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/qt_printers.h"

namespace {

constexpr int Archives = 300;

QString name(int i) { return QStringLiteral("a%1.big").arg(i, 3, 10, QLatin1Char('0')); }

TEST(CliInterruption, EveryFileIsDoneOrUntouchedAndNoTemporaryFileIsLeft) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("out");
  ArchiveFixture fixture;
  fixture.trailingBytes = 50 * 1024 - fixture.length();
  QByteArray map;
  for (int i = 0; i < Archives; ++i) {
    writeFile(dir.filePath(name(i)), fixture.build());
    writeFile(dir.filePath("out/" + name(i)), "old");
    map += QStringLiteral("%1,out/%1,zz99yy8\n").arg(name(i)).toUtf8();
  }
  writeFile(dir.filePath("roster.csv"), map);

  QProcess cli;
  cli.setWorkingDirectory(dir.path());
  cli.start(QStringLiteral(CPE_CLI_PATH), {"set-id", "--map", "roster.csv"});
  ASSERT_TRUE(cli.waitForStarted());
  // Once the first archive is saved the batch is under way.
  QElapsedTimer waited;
  waited.start();
  while (readFile(dir.filePath("out/" + name(0))) == "old" && waited.elapsed() < 10000)
    QThread::msleep(1);
  ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
  ASSERT_TRUE(cli.waitForFinished(60000));

  EXPECT_EQ(cli.exitStatus(), QProcess::CrashExit) << "the batch ended before the signal";
  EXPECT_TRUE(cli.readAllStandardError().contains("interrupted"));
  const QByteArray saved = fixture.buildSavedAs("ZZ99YY8", "zz99yy8", 1);
  int done = 0;
  QStringList expected;
  for (int i = 0; i < Archives; ++i) {
    expected << name(i);
    const QByteArray bytes = readFile(dir.filePath("out/" + name(i)));
    EXPECT_TRUE(bytes == "old" || bytes == saved) << name(i).toStdString();
    done += bytes == saved;
  }
  EXPECT_GT(done, 0);
  EXPECT_EQ(entryNames(dir.filePath("out")), expected);
}

}  // namespace
