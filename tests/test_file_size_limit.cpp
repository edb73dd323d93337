// Under a file-size limit (ulimit -f) a write past it is an error the user is
// told of, never the end of the program: the editor ignores SIGXFSZ from its
// start.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>

#include "fileio/file_size_signal.h"
#include "support/archive_fixture.h"
#include "support/child_process.h"
#include "support/file_snapshot.h"
#include "support/recording_window.h"
#include "ui/command_routines.h"

namespace {

constexpr rlim_t Limit = 64;

// The editor's help is longer than the limit: printing it to a file writes
// past it, as the first thing the program writes.
TEST(FileSizeSignal, TheEditorOutlivesAWritePastTheLimit) {
  QTemporaryDir dir;
  QProcess editor;
  editor.setStandardOutputFile(dir.filePath("help.txt"));
  editor.setChildProcessModifier([] {
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{Limit, Limit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  });
  editor.start(QStringLiteral(CPE_EDITOR_PATH), {"--help"});
  ASSERT_TRUE(editor.waitForFinished(20000));
  EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit) << "ended by a signal";
  EXPECT_EQ(readFile(dir.filePath("help.txt")).size(), static_cast<qsizetype>(Limit));
}

// What the editor's start does, then an export past the limit: the user is
// told, and the old file stays.
TEST(FileSizeSignal, AWritePastTheLimitEndsInTheErrorMessage) {
  QTemporaryDir dir;
  RecordingWindow window;
  window.state().archivePath = writeFile(dir.filePath("portrait.big"), ArchiveFixture().build());
  window.state().exportPath = writeFile(dir.filePath("old.fsh"), "old");
  const FileTree before = snapshotTree(dir.path());

  const QByteArray message = runInChild([&window] {
    std::signal(SIGXFSZ, SIG_DFL);
    fileio::ignoreFileSizeSignal();
    const rlimit limit{Limit, Limit};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return QByteArray("no limit");
    ui::exportPortraitFrom(window);
    return window.messages.empty() ? QByteArray("exported") : window.messages[0].text.toUtf8();
  });

  EXPECT_EQ(QString::fromUtf8(message), QStringLiteral("ERROR: %1. [Error #%2]")
                                            .arg(QString::fromLocal8Bit(std::strerror(EFBIG)))
                                            .arg(EFBIG));
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

}  // namespace
