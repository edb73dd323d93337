// A file that is one of the program's own standard streams is never written
// over: under `>> log.txt`, a new file renamed over log.txt would lose its lines.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "fsh/fsh_layout.h"
#include "support/cli_process.h"
#include "support/portrait_archive.h"
#include "support/qt_printers.h"

namespace {

struct StreamCase {
  const char* name;
  QStringList arguments;
  const char* file;  // the stream, opened as `< file` or `>> file`
  int stream;
  const char* refusal;
};

class CliStandardStream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(CliStandardStream, IsNoTarget) {
  const StreamCase& c = GetParam();
  QTemporaryDir dir;
  const QByteArray image = samplePortrait(fsh::Code::Argb8888, {8, 8});
  writeFile(dir.filePath("a.big"), archiveWithPortrait(ArchiveFixture(), image));
  writeFile(dir.filePath("new.fsh"), image);
  writeFile(dir.filePath("log.txt"), "before\n");
  const QByteArray before = readFile(dir.filePath(c.file));
  const QByteArray name = QFile::encodeName(dir.filePath(c.file));
  const int stream = c.stream;
  const CliRun result = runCli(c.arguments, {dir.path(), {}, [name, stream] {
                                               const int mode = stream ? O_WRONLY | O_APPEND : 0;
                                               ::dup2(::open(name.constData(), mode), stream);
                                             }});

  EXPECT_EQ(result.exitCode, 1);
  const QByteArray after = readFile(dir.filePath(c.file));
  EXPECT_TRUE(after.startsWith(before));
  // Standard error is log.txt itself in one case.
  EXPECT_TRUE((result.err + after).contains(c.refusal)) << (result.err + after).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Streams, CliStandardStream,
    ::testing::Values(
        StreamCase{"Output",
                   {"export", "-q", "a.big", "/dev/stdout"},
                   "log.txt",
                   STDOUT_FILENO,
                   "/dev/stdout: is this program's standard output; it is not written over"},
        StreamCase{"Error",
                   {"set-id", "zz99yy8", "a.big", "log.txt"},
                   "log.txt",
                   STDERR_FILENO,
                   "a.big -> log.txt: is this program's standard error; it is not written over"},
        StreamCase{"Input",
                   {"import", "a.big", "new.fsh"},
                   "a.big",
                   STDIN_FILENO,
                   "a.big: is this program's standard input; it is not written over"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
