// export: the portrait as FSH bytes or as a picture, one archive or a folder
// of them; refusals leave no output behind.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "fsh/fsh_layout.h"
#include "support/cli_process.h"
#include "support/file_snapshot.h"
#include "support/fsh_fixture.h"
#include "support/portrait_archive.h"
#include "support/qt_printers.h"

namespace {

using fsh::Code::Argb8888;

class CliExport : public ::testing::Test {
 protected:
  CliExport() {
    portrait = samplePortrait(Argb8888, {24, 16});
    writeFile(dir.filePath("a.big"), archiveWithPortrait(ArchiveFixture(), portrait));
  }
  CliRun run(const QStringList& arguments) { return runCli(arguments, {dir.path(), {}, {}}); }

  QTemporaryDir dir;
  QByteArray portrait;
};

TEST_F(CliExport, WritesThePortraitsFshBytes) {
  const CliRun result = run({"export", "a.big", "a.fsh"});
  EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
  EXPECT_EQ(readFile(dir.filePath("a.fsh")), portrait);
  // Any other name gets the FSH bytes too.
  EXPECT_EQ(run({"export", "a.big", "portrait"}).exitCode, 0);
  EXPECT_EQ(readFile(dir.filePath("portrait")), portrait);
  // "-" is standard output, with nothing else on it.
  const CliRun piped = run({"export", "a.big", "-"});
  EXPECT_EQ(piped.exitCode, 0) << piped.errText().toStdString();
  EXPECT_EQ(piped.out, portrait);
}

// Lossless formats hold the stored pixels exactly; JPEG comes close.
TEST_F(CliExport, WritesAPictureByTheOutputsExtension) {
  const QImage stored = smoothPicture({24, 16});
  for (const char* name : {"a.png", "a.BMP"}) {
    ASSERT_EQ(run({"export", "a.big", name}).exitCode, 0) << name;
    const QImage picture(dir.filePath(name));
    EXPECT_EQ(picture.convertToFormat(QImage::Format_ARGB32), stored) << name;
  }
  ASSERT_EQ(run({"export", "a.big", "a.jpg"}).exitCode, 0);
  const QImage jpeg(dir.filePath("a.jpg"));
  ASSERT_EQ(jpeg.size(), stored.size());
  EXPECT_GT(psnr(jpeg.convertToFormat(QImage::Format_ARGB32), stored), 30.0);
}

// Formats without an alpha channel show the picture on white, as a viewer does.
TEST_F(CliExport, BmpAndJpegLayTransparencyOnWhite) {
  QImage halves(16, 8, QImage::Format_ARGB32);
  halves.fill(qRgba(0, 0, 0, 0));
  for (int y = 0; y < 8; ++y)
    for (int x = 8; x < 16; ++x) halves.setPixel(x, y, qRgba(200, 0, 0, 255));
  writeFile(dir.filePath("t.big"),
            archiveWithPortrait(ArchiveFixture(), singleBitmap(Argb8888, halves).build()));
  for (const char* name : {"t.png", "t.bmp", "t.jpg"})
    ASSERT_EQ(run({"export", "t.big", name}).exitCode, 0) << name;
  EXPECT_EQ(QImage(dir.filePath("t.png")).convertToFormat(QImage::Format_ARGB32), halves);
  const QImage bmp(dir.filePath("t.bmp"));
  EXPECT_EQ(bmp.pixel(2, 4), qRgb(255, 255, 255));
  EXPECT_EQ(bmp.pixel(13, 4), qRgb(200, 0, 0));
  const QImage jpeg(dir.filePath("t.jpg"));
  EXPECT_GT(qGray(jpeg.pixel(2, 4)), 240);
}

TEST_F(CliExport, ToAFolderNamesEachFileAfterItsArchive) {
  writeFile(dir.filePath("b.big"), archiveWithPortrait(ArchiveFixture::jersey(), portrait));
  ArchiveFixture broken;
  broken.imageLengthField = 1 << 20;  // reaches past the end of the archive
  writeFile(dir.filePath("broken.big"), broken.build());
  QDir(dir.path()).mkdir("out");

  const CliRun fsh = run({"export", "--to", "out", "a.big", "broken.big", "b.big"});
  const CliRun png = run({"export", "--to", "out", "--as", "png", "a.big"});

  EXPECT_EQ(fsh.exitCode, 1);
  EXPECT_EQ(fsh.errText(),
            "courtside-portraits-cli: broken.big: the portrait image in this archive reaches past "
            "the end of the file\n");
  EXPECT_EQ(png.exitCode, 0) << png.errText().toStdString();
  EXPECT_EQ(entryNames(dir.filePath("out")), (QStringList{"a.fsh", "a.png", "b.fsh"}));
  EXPECT_EQ(readFile(dir.filePath("out/b.fsh")), portrait);
}

TEST_F(CliExport, TwoArchivesOfOneNameDoNotOverwriteEachOther) {
  QDir(dir.path()).mkpath("other");
  writeFile(dir.filePath("other/a.big"), ArchiveFixture().build());
  QDir(dir.path()).mkdir("out");

  const CliRun result = run({"export", "--to", "out", "a.big", "other/a.big"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(),
            "courtside-portraits-cli: other/a.big: another archive of the same name is already "
            "exported as out/a.fsh\n");
  EXPECT_EQ(readFile(dir.filePath("out/a.fsh")), portrait);
}

// An archive named like another's output is not replaced before its turn.
TEST_F(CliExport, AnOutputThatIsOneOfTheArchivesIsNotWritten) {
  QDir(dir.path()).mkdir("out");
  const QByteArray other = archiveWithPortrait(ArchiveFixture(), samplePortrait(Argb8888, {8, 8}));
  writeFile(dir.filePath("out/a.fsh"), other);

  const CliRun result = run({"export", "--to", "out", "a.big", "out/a.fsh"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(result.errText().startsWith(
      "courtside-portraits-cli: out/a.fsh: is one of the archives to export"))
      << result.errText().toStdString();
  EXPECT_EQ(readFile(dir.filePath("out/a.fsh")), other);
}

struct FolderCase {
  const char* name;
  const char* folder;
  const char* reason;
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }

class CliExportFolder : public CliExport, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(CliExportFolder, ThatCannotTakeTheFilesIsReportedOnce) {
  const FileTree before = snapshotTree(dir.path());
  const CliRun result = run({"export", "--to", GetParam().folder, "a.big", "a.big"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(), QStringLiteral("courtside-portraits-cli: %1: %2\n")
                                  .arg(GetParam().folder, GetParam().reason));
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Folders, CliExportFolder,
                         ::testing::Values(FolderCase{"Missing", "nowhere", "no such folder"},
                                           FolderCase{"AFile", "a.big", "not a folder"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A failure to write the output names the output, not the archive it comes from.
struct OutputFailure {
  const char* name;
  QStringList arguments;
  rlim_t fileSizeLimit;  // 0: none
  const char* message;   // after the program's name
};

void PrintTo(const OutputFailure& c, std::ostream* os) { *os << c.name; }

class CliExportOutputFailure : public CliExport,
                               public ::testing::WithParamInterface<OutputFailure> {};

TEST_P(CliExportOutputFailure, NamesTheOutputAndLeavesNothingBehind) {
  QDir(dir.path()).mkdir("out");
  const FileTree before = snapshotTree(dir.path());
  const rlim_t limit = GetParam().fileSizeLimit;
  CliOptions options{dir.path(), {}, [limit] {
                       if (limit == 0) return;
                       const rlimit fileSize{limit, limit};
                       ::setrlimit(RLIMIT_FSIZE, &fileSize);
                     }};

  const CliRun result = runCli(GetParam().arguments, options);

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(),
            QStringLiteral("courtside-portraits-cli: ") + GetParam().message + QLatin1Char('\n'));
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

// The portrait is 24x16 ARGB8888: more than 1 KiB.
INSTANTIATE_TEST_SUITE_P(
    Outputs, CliExportOutputFailure,
    ::testing::Values(
        OutputFailure{"MissingFolder",
                      {"export", "a.big", "nowhere/a.fsh"},
                      0,
                      "nowhere/a.fsh: No such file or directory"},
        OutputFailure{"MissingFolderForAPicture",
                      {"export", "a.big", "nowhere/a.png"},
                      0,
                      "nowhere/a.png: No such file or directory"},
        OutputFailure{
            "AFolder", {"export", "a.big", "out"}, 0, "out: out is a folder, not a regular file"},
        OutputFailure{
            "FileSizeLimit", {"export", "a.big", "big.fsh"}, 1024, "big.fsh: File too large"},
        OutputFailure{"FileSizeLimitInABatch",
                      {"export", "--to", "out", "a.big"},
                      1024,
                      "out/a.fsh: File too large"}),
    [](const auto& info) { return std::string(info.param.name); });

// FSH bytes under a picture's name would pass for a picture that no viewer opens.
class CliExportPictureName : public CliExport, public ::testing::WithParamInterface<const char*> {};

TEST_P(CliExportPictureName, ThatIsNotWrittenIsAUsageError) {
  const FileTree before = snapshotTree(dir.path());
  const CliRun result = run({"export", "a.big", GetParam()});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.errText(),
            QStringLiteral("courtside-portraits-cli: %1: export writes pictures as .png, .bmp, "
                           ".jpg or .jpeg, and the FSH image under any name that is not a "
                           "picture's, such as .fsh\n")
                .arg(GetParam()));
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Extensions, CliExportPictureName,
                         ::testing::Values("a.gif", "a.webp", "a.tga", "a.tif", "a.TIFF"),
                         [](const auto& info) {
                           return QString(info.param).replace('.', '_').toStdString();
                         });

TEST_F(CliExport, DryRunWritesNothing) {
  QDir(dir.path()).mkdir("out");
  const FileTree before = snapshotTree(dir.path());
  const qint64 times[] = {modifiedNs(dir.path()), modifiedNs(dir.filePath("out"))};

  const CliRun single = run({"export", "--dry-run", "a.big", "a.png"});
  const CliRun folder = run({"export", "-n", "--to", "out", "a.big"});

  EXPECT_EQ(single.exitCode, 0) << single.errText().toStdString();
  EXPECT_EQ(folder.exitCode, 0) << folder.errText().toStdString();
  EXPECT_EQ(snapshotTree(dir.path()), before);
  // Not even made and removed again.
  EXPECT_EQ(modifiedNs(dir.path()), times[0]);
  EXPECT_EQ(modifiedNs(dir.filePath("out")), times[1]);
  EXPECT_TRUE(single.outText().startsWith("a.png: would be written from a.big as a 24x16 picture"))
      << single.outText().toStdString();
  EXPECT_EQ(folder.outText(),
            QStringLiteral("out/a.fsh: would be written from a.big as FSH (%1 bytes)\n")
                .arg(portrait.size()));
}

// A picture needs a portrait that decodes; the reason says where it does not.
TEST_F(CliExport, AnUndecodablePortraitIsRefusedAsAPictureButNotAsFsh) {
  writeFile(dir.filePath("junk.big"), ArchiveFixture().build());  // its portrait is not FSH
  const CliRun picture = run({"export", "junk.big", "junk.png"});
  EXPECT_EQ(picture.exitCode, 1);
  EXPECT_TRUE(picture.errText().startsWith("courtside-portraits-cli: junk.big: portrait image: "))
      << picture.errText().toStdString();
  EXPECT_FALSE(QFile::exists(dir.filePath("junk.png")));
  EXPECT_EQ(run({"export", "junk.big", "junk.fsh"}).exitCode, 0);
}

}  // namespace
