// import: an FSH image with all of Import's checks, or a picture made into
// the portrait's format; every refusal leaves the archive as it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <optional>

#include "fsh/bitmap_decoder.h"
#include "fsh/describe.h"
#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"
#include "portrait/picture_import.h"
#include "support/cli_process.h"
#include "support/file_snapshot.h"
#include "support/fsh_fixture.h"
#include "support/portrait_archive.h"
#include "support/qt_printers.h"

namespace {

using fsh::Code::Argb8888;
using fsh::Code::Dxt1;

class CliImport : public ::testing::Test {
 protected:
  CliImport() {
    writeFile(dir.filePath("a.big"), archiveWithPortrait(fixture, samplePortrait(Argb8888)));
  }
  CliRun run(const QStringList& arguments) { return runCli(arguments, {dir.path(), {}, {}}); }
  QString path(const QString& name) const { return dir.filePath(name); }

  // The archive's portrait as the codec reads it.
  fsh::FshFile portrait() const {
    const QByteArray archive = readFile(path("a.big"));
    const qsizetype offset = fixture.offsetOf(4);
    return *fsh::parseFsh(archive.mid(offset));
  }

  QTemporaryDir dir;
  ArchiveFixture fixture;
};

TEST_F(CliImport, PutsAnFshImageInAsItIs) {
  const QByteArray image = samplePortrait(Dxt1, {16, 16}, 2);
  writeFile(path("new.fsh"), image);

  const CliRun result = run({"import", "a.big", "new.fsh"});

  EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
  EXPECT_EQ(readFile(path("a.big")), archiveWithPortrait(fixture, image));
}

// A picture of the portrait's size in its own lossless format comes back exactly.
TEST_F(CliImport, PutsAPictureInInThePortraitsOwnFormat) {
  const QImage picture = noisePicture({32, 32}, 7);
  picture.save(path("p.png"));

  const CliRun result = run({"import", "a.big", "p.png"});

  ASSERT_EQ(result.exitCode, 0) << result.errText().toStdString();
  const fsh::FshFile file = portrait();
  EXPECT_EQ(fsh::describe(file)->code, Argb8888);
  EXPECT_EQ(*fsh::decodeMainBitmap(file), picture);
  EXPECT_EQ(
      result.outText(),
      QStringLiteral("a.big: portrait replaced by the picture p.png as 32 x 32 - ARGB8888 - no "
                     "mipmaps (%1 bytes)\n")
          .arg(QFileInfo(path("a.big")).size()));
}

TEST_F(CliImport, FormatAndMipmapsChangeThePortrait) {
  smoothPicture({32, 32}).save(path("p.bmp"));
  const CliRun result = run({"import", "a.big", "p.bmp", "--format", "DXT1", "--mipmaps", "3"});
  ASSERT_EQ(result.exitCode, 0) << result.errText().toStdString();
  const auto description = fsh::describe(portrait());
  EXPECT_EQ(description->code, Dxt1);
  EXPECT_EQ(description->mipmapCount, 3);
}

struct FitCase {
  const char* mode;
  int cornerAlpha;  // a wide picture in a square portrait: is the top-left corner covered?
};

class CliImportFit : public CliImport, public ::testing::WithParamInterface<FitCase> {};

TEST_P(CliImportFit, WidePictureInASquarePortrait) {
  QImage wide(64, 16, QImage::Format_ARGB32);
  wide.fill(qRgba(200, 10, 10, 255));
  wide.save(path("wide.png"));
  ASSERT_EQ(run({"import", "a.big", "wide.png", "--fit", GetParam().mode}).exitCode, 0);
  const QImage stored = *fsh::decodeMainBitmap(portrait());
  EXPECT_EQ(qAlpha(stored.pixel(0, 0)), GetParam().cornerAlpha);
  EXPECT_EQ(stored.pixel(16, 16), qRgba(200, 10, 10, 255));
}

INSTANTIATE_TEST_SUITE_P(Modes, CliImportFit,
                         ::testing::Values(FitCase{"fill", 255}, FitCase{"fit", 0},
                                           FitCase{"stretch", 255}),
                         [](const auto& info) { return std::string(info.param.mode); });

struct ImportRefusal {
  const char* name;
  std::optional<QByteArray> input;  // none: the file is not written
  const char* inputName;
  const char* message;  // after the program's name
};

void PrintTo(const ImportRefusal& c, std::ostream* os) { *os << c.name; }

class CliImportRefusal : public CliImport, public ::testing::WithParamInterface<ImportRefusal> {};

TEST_P(CliImportRefusal, LeavesTheArchiveAsItWas) {
  if (GetParam().input) writeFile(path(GetParam().inputName), *GetParam().input);
  const FileTree before = snapshotTree(dir.path());

  const CliRun result = run({"import", "a.big", GetParam().inputName});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(),
            QStringLiteral("courtside-portraits-cli: ") + GetParam().message + "\n");
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

QByteArray svg() {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"><text x=\"1\" "
         "y=\"5\">A</text></svg>";
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CliImportRefusal,
    ::testing::Values(
        ImportRefusal{"Empty", QByteArray(), "empty.fsh", "empty.fsh: the FSH file is empty"},
        ImportRefusal{"LengthWord", fshImage(64, 65), "bad.fsh",
                      "bad.fsh: this is not an FSH image: its length field does not match the "
                      "file's size"},
        ImportRefusal{"NoSignature", QByteArray("just some text"), "notes.fsh",
                      "notes.fsh: this is not an FSH image: it does not start with SHPI"},
        ImportRefusal{"Missing", std::nullopt, "missing.fsh",
                      "missing.fsh: No such file or directory"},
        ImportRefusal{"TheArchiveItself", std::nullopt, "a.big",
                      "a.big: the image file is the archive itself"},
        ImportRefusal{"NotAPicture", "just some text", "notes.txt",
                      "notes.txt: this is neither an FSH image nor a picture Qt can read"},
        ImportRefusal{"Vector", svg(), "drawing.svg",
                      "drawing.svg: SVG pictures cannot be imported; use a raster format such as "
                      "PNG"}),
    [](const auto& info) { return std::string(info.param.name); });

// Told by its content, as the window tells it: a compressed FSH image goes in
// unpacked, whatever its name.
struct CompressedCase {
  const char* inputName;
  bool sizePrefix;
};

void PrintTo(const CompressedCase& c, std::ostream* os) { *os << c.inputName; }

class CliImportCompressed : public CliImport,
                            public ::testing::WithParamInterface<CompressedCase> {};

TEST_P(CliImportCompressed, GoesInUnpacked) {
  const QByteArray image = samplePortrait(Dxt1, {16, 16}, 2);
  writeFile(path(GetParam().inputName), literalRefpack(image, GetParam().sizePrefix));

  const CliRun result = run({"import", "a.big", GetParam().inputName});

  EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
  EXPECT_EQ(readFile(path("a.big")), archiveWithPortrait(fixture, image));
  EXPECT_EQ(result.outText(),
            QStringLiteral("a.big: portrait replaced by the compressed FSH image %1, unpacked (%2 "
                           "bytes)\n")
                .arg(GetParam().inputName)
                .arg(QFileInfo(path("a.big")).size()));
}

INSTANTIATE_TEST_SUITE_P(Names, CliImportCompressed,
                         ::testing::Values(CompressedCase{"packed.fsh", false},
                                           CompressedCase{"packed.dat", true}),
                         [](const auto& info) {
                           return QString(info.param.inputName).replace('.', '_').toStdString();
                         });

// The unpacked image meets Import's checks; faults of either name the input.
TEST_F(CliImport, ACompressedImageIsCheckedAsItUnpacks) {
  QByteArray longer = samplePortrait(Dxt1);
  putWord(longer, fsh::Layout::LengthOffset, longer.size() + 16);
  writeFile(path("long.fsh"), literalRefpack(longer));
  QByteArray cut = literalRefpack(samplePortrait(Dxt1));
  cut.chop(100);
  writeFile(path("cut.fsh"), cut);
  const FileTree before = snapshotTree(dir.path());

  const CliRun wrongLength = run({"import", "a.big", "long.fsh"});
  const CliRun damaged = run({"import", "a.big", "cut.fsh"});
  const CliRun options = run({"import", "a.big", "long.fsh", "--format", "dxt5"});

  EXPECT_EQ(wrongLength.exitCode, 1);
  EXPECT_EQ(wrongLength.errText(),
            "courtside-portraits-cli: long.fsh: this is not an FSH image: its length field does "
            "not match the file's size\n");
  EXPECT_EQ(damaged.exitCode, 1);
  EXPECT_TRUE(
      damaged.errText().startsWith("courtside-portraits-cli: cut.fsh: compressed FSH image: "))
      << damaged.errText().toStdString();
  EXPECT_EQ(options.exitCode, 2);
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

// ...and a picture goes in as a picture, even named as an FSH image.
TEST_F(CliImport, APictureNamedAsAnFshImageGoesInAsAPicture) {
  const QImage picture = noisePicture({32, 32}, 3);
  ASSERT_TRUE(picture.save(path("p.fsh"), "PNG"));

  const CliRun result = run({"import", "a.big", "p.fsh"});

  ASSERT_EQ(result.exitCode, 0) << result.errText().toStdString();
  EXPECT_EQ(*fsh::decodeMainBitmap(portrait()), picture);
}

// Only the archive's last member may change its length.
TEST_F(CliImport, AnImageOfAnotherLengthIsRefusedWhenMembersFollowThePortrait) {
  ArchiveFixture followed;
  followed.memberOffsets[1] = followed.offsetOf(4) + followed.imageLength - 8;
  writeFile(path("f.big"), followed.build());
  writeFile(path("new.fsh"), fshImage(100));
  const FileTree before = snapshotTree(dir.path());

  const CliRun result = run({"import", "f.big", "new.fsh"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(),
            "courtside-portraits-cli: f.big: the image differs in length from the archive's "
            "portrait, and other members follow it\n");
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

TEST_F(CliImport, PictureOptionsWithAnFshImageAreAUsageError) {
  writeFile(path("new.fsh"), samplePortrait(Dxt1));
  const FileTree before = snapshotTree(dir.path());
  const CliRun result = run({"import", "a.big", "new.fsh", "--format", "dxt5"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.errText(),
            "courtside-portraits-cli: --format and --mipmaps other than keep apply to pictures, "
            "not to the FSH image new.fsh, which goes in as it is\n");
  EXPECT_EQ(run({"import", "a.big", "new.fsh", "--mipmaps", "3"}).exitCode, 2);
  EXPECT_EQ(snapshotTree(dir.path()), before);
  // A script that passes the defaults for every input is not refused.
  const CliRun defaults =
      run({"import", "a.big", "new.fsh", "--fit", "fill", "--format", "keep", "--mipmaps", "keep"});
  EXPECT_EQ(defaults.exitCode, 0) << defaults.errText().toStdString();
}

// The same rectangle the window would pass to the one call both front ends share.
TEST_F(CliImport, CropWritesThePortraitTheWindowWrites) {
  const QImage picture = noisePicture({64, 48}, 5);
  picture.save(path("p.png"));

  const CliRun result =
      run({"import", "a.big", "p.png", "--crop", "10,5,40,30", "--format", "dxt1"});

  ASSERT_EQ(result.exitCode, 0) << result.errText().toStdString();
  const auto expected = portrait::portraitFromPicture(
      samplePortrait(Argb8888), picture,
      {portrait::FitMode::Fill, Dxt1, std::nullopt, QRect(10, 5, 40, 30)});
  ASSERT_TRUE(expected);
  EXPECT_EQ(readFile(path("a.big")), archiveWithPortrait(fixture, expected->image));
}

struct CropRefusal {
  const char* name;
  const char* input;  // p.png (64x48) or new.fsh
  const char* crop;
  const char* message;  // how standard error starts, after the program's name
};

class CliImportCrop : public CliImport, public ::testing::WithParamInterface<CropRefusal> {};

TEST_P(CliImportCrop, IsAUsageErrorAndWritesNothing) {
  noisePicture({64, 48}, 5).save(path("p.png"));
  writeFile(path("new.fsh"), samplePortrait(Dxt1));
  const FileTree before = snapshotTree(dir.path());

  const CliRun result = run({"import", "a.big", GetParam().input, "--crop", GetParam().crop});

  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(
      result.errText().startsWith(QStringLiteral("courtside-portraits-cli: ") + GetParam().message))
      << result.errText().toStdString();
  EXPECT_TRUE(result.out.isEmpty());
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Crops, CliImportCrop,
    ::testing::Values(
        CropRefusal{"PastTheRightEdge", "p.png", "30,0,35,10",
                    "--crop 30,0,35,10 is not wholly inside the picture p.png, which is 64x48 "
                    "pixels\n"},
        CropRefusal{"AboveTheTop", "p.png", "0,-1,8,8", "--crop 0,-1,8,8 is not wholly inside"},
        CropRefusal{"ThreeNumbers", "p.png", "1,2,3", "--crop: X,Y,W,H in the picture's pixels"},
        CropRefusal{"NoWidth", "p.png", "1,2,0,4", "--crop: X,Y,W,H in the picture's pixels"},
        CropRefusal{"BeyondAnInt", "p.png", "2147483000,0,1000,1", "--crop: X,Y,W,H in the"},
        CropRefusal{"FshImage", "new.fsh", "0,0,8,8",
                    "--crop applies to pictures, not to the FSH image new.fsh, which goes in as "
                    "it is\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliImport, DryRunWritesNothing) {
  smoothPicture({32, 32}).save(path("p.png"));
  writeFile(path("new.fsh"), samplePortrait(Dxt1));
  const FileTree before = snapshotTree(dir.path());
  const qint64 folderTime = modifiedNs(dir.path());

  const CliRun picture = run({"import", "--dry-run", "a.big", "p.png", "--format", "dxt5"});
  const CliRun image = run({"import", "-n", "a.big", "new.fsh"});

  EXPECT_EQ(picture.exitCode, 0) << picture.errText().toStdString();
  EXPECT_EQ(image.exitCode, 0) << image.errText().toStdString();
  EXPECT_EQ(snapshotTree(dir.path()), before);
  EXPECT_EQ(modifiedNs(dir.path()), folderTime);
  EXPECT_TRUE(picture.outText().startsWith(
      "a.big: portrait would be replaced by the picture p.png as 32 x 32 - DXT5 - no mipmaps"))
      << picture.outText().toStdString();
}

}  // namespace
