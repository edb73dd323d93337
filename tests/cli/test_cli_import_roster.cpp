// import --from DIR: a roster of archives takes the folder's files named after
// them as one batch; what fails is named and left untouched, the rest is written.
// And thumbnail, which fails before it writes anything.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fsh/fsh_layout.h"
#include "support/cli_process.h"
#include "support/fsh_fixture.h"
#include "support/portrait_archive.h"
#include "support/qt_printers.h"

namespace {

TEST(CliRosterImport, ABadPictureFailsAloneAndTheOthersAreWritten) {
  QTemporaryDir dir;
  const QByteArray archive = archiveWithPortrait({}, samplePortrait(fsh::Code::Argb8888));
  for (const char* name : {"good.big", "bad.big", "twice.big", "none.big", "fsh.big", "pipe.big"})
    writeFile(dir.filePath(name), archive);
  QDir(dir.path()).mkdir("in");
  noisePicture({32, 32}, 3).save(dir.filePath("in/good.png"));
  writeFile(dir.filePath("in/bad.png"), "no picture at all");
  smoothPicture({32, 32}).save(dir.filePath("in/twice.png"));
  smoothPicture({32, 32}).save(dir.filePath("in/TWICE.jpg"));
  const QByteArray image = samplePortrait(fsh::Code::Dxt1, {32, 32});
  writeFile(dir.filePath("in/fsh.fsh"), image);
  // A named pipe is a file named for its archive, and refused as no regular file.
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("in/pipe.png")).constData(), 0600), 0);

  const CliRun result = runCli({"import", "--from", "in", "good.big", "bad.big", "twice.big",
                                "none.big", "fsh.big", "pipe.big"},
                               {dir.path(), {}, {}});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(readFile(dir.filePath("good.big")), archive);
  EXPECT_EQ(readFile(dir.filePath("fsh.big")), archiveWithPortrait({}, image));
  for (const char* name : {"bad.big", "twice.big", "none.big", "pipe.big"})
    EXPECT_EQ(readFile(dir.filePath(name)), archive) << name;
  EXPECT_TRUE(result.errText().contains("courtside-portraits-cli: in/bad.png: "));
  EXPECT_TRUE(result.errText().contains("courtside-portraits-cli: in/pipe.png: "));
  EXPECT_TRUE(result.errText().contains(
      "courtside-portraits-cli: twice.big: left untouched: 2 files are named for it: "
      "in/TWICE.jpg, in/twice.png"));
  EXPECT_TRUE(result.outText().contains("none.big: skipped"));
  EXPECT_FALSE(result.errText().contains("none.big"));
}

TEST(CliThumbnail, AnUnreadableInputFailsAndWritesNothing) {
  QTemporaryDir dir;
  writeFile(dir.filePath("short.big"), "BIGF");
  for (const char* input : {"missing.big", "short.big"}) {
    const CliRun result = runCli({"thumbnail", input, "t.png"}, {dir.path(), {}, {}});
    EXPECT_EQ(result.exitCode, 1) << input;
    EXPECT_TRUE(result.errText().startsWith(QStringLiteral("courtside-portraits-cli: ") + input))
        << result.errText().toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("t.png")));
  }
}

}  // namespace
