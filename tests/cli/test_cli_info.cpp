// info: what each archive holds, as text and as JSON; refused archives are
// reported with the editor's reason while the others are still listed.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "fsh/fsh_layout.h"
#include "support/cli_process.h"
#include "support/fsh_fixture.h"
#include "support/portrait_archive.h"
#include "support/qt_printers.h"

namespace {

using fsh::Code::Argb8888;
using fsh::Code::Dxt1;

class CliInfo : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    writeFile(dir.filePath(name), bytes);
    return name;
  }
  CliRun run(const QStringList& arguments) { return runCli(arguments, {dir.path(), {}, {}}); }

  QTemporaryDir dir;
};

// A portrait whose pixel data is RefPack-compressed.
QByteArray compressedPortrait() {
  FshFixture fixture = singleBitmap(Argb8888, smoothPicture({16, 8}));
  FixtureBlock& block = fixture.entries[0].blocks[0];
  block.code |= fsh::Layout::CompressedFlag;
  block.data = literalRefpack(block.data);
  return fixture.build();
}

TEST_F(CliInfo, ListsKindIdentifierSizeAndPortrait) {
  const QByteArray player = archiveWithPortrait(ArchiveFixture::playerPackage("ab12cd3"),
                                                samplePortrait(Dxt1, {32, 32}, 2));
  const QByteArray jersey =
      archiveWithPortrait(ArchiveFixture::jersey("zz99yy8"), compressedPortrait());
  write("p.big", player);
  write("j.big", jersey);

  const CliRun result = run({"info", "p.big", "j.big"});

  EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
  EXPECT_EQ(
      result.outText(),
      QStringLiteral("p.big: player ab12cd3, %1 bytes, portrait 32x32 DXT1 (0x60), 2 mipmaps, "
                     "not compressed\n"
                     "j.big: jersey zz99yy8, %2 bytes, portrait 16x8 ARGB8888 (0x7D), 0 "
                     "mipmaps, compressed\n")
          .arg(player.size())
          .arg(jersey.size()));
  EXPECT_TRUE(result.err.isEmpty());
}

TEST_F(CliInfo, JsonArrayHoldsTheDocumentedFields) {
  const QByteArray player = archiveWithPortrait(ArchiveFixture::playerPackage("ab12cd3"),
                                                samplePortrait(Dxt1, {32, 16}, 1));
  write("p.big", player);
  // A portrait whose structure is sound but whose pixel data is cut short.
  QByteArray cut = samplePortrait(Argb8888, {32, 32});
  cut.chop(64);
  putWord(cut, 4, static_cast<int32_t>(cut.size()));
  write("cut.big", archiveWithPortrait(ArchiveFixture::jersey("qq11ww2"), cut));

  const CliRun result = run({"info", "--json", "p.big", "cut.big"});

  ASSERT_EQ(result.exitCode, 0) << result.errText().toStdString();
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(result.out, &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << result.outText().toStdString();
  const QJsonArray listed = document.array();
  ASSERT_EQ(listed.size(), 2);
  const QJsonObject first = listed[0].toObject();
  EXPECT_EQ(first["path"].toString(), "p.big");
  EXPECT_EQ(first["kind"].toString(), "player");
  EXPECT_EQ(first["identifier"].toString(), "ab12cd3");
  EXPECT_EQ(first["size"].toInteger(), player.size());
  const QJsonObject portrait = first["portrait"].toObject();
  EXPECT_EQ(portrait["width"].toInt(), 32);
  EXPECT_EQ(portrait["height"].toInt(), 16);
  EXPECT_EQ(portrait["format"].toString(), "DXT1");
  EXPECT_EQ(portrait["code"].toInt(), 0x60);
  EXPECT_EQ(portrait["mipmaps"].toInt(), 1);
  EXPECT_EQ(portrait["compressed"], QJsonValue(false));
  // Listed, with the reason in place of the portrait's fields.
  const QJsonObject second = listed[1].toObject();
  EXPECT_EQ(second["kind"].toString(), "jersey");
  EXPECT_EQ(second["identifier"].toString(), "qq11ww2");
  EXPECT_EQ(second["portrait"].toObject().keys(), QStringList{"error"});
  EXPECT_TRUE(second["portrait"].toObject()["error"].toString().contains("needs 4096 bytes"))
      << second["portrait"].toObject()["error"].toString().toStdString();
}

struct Refusal {
  const char* name;
  ArchiveFixture fixture;
  const char* reason;
};

class CliInfoRefusal : public CliInfo, public ::testing::WithParamInterface<Refusal> {};

// Each refusal in the words the editor gives it, the file named, and the
// archives around it still listed.
TEST_P(CliInfoRefusal, IsReportedAndTheOthersListed) {
  write("a.big", ArchiveFixture::playerPackage("aaaaaaa").build());
  write("bad.big", GetParam().fixture.build());
  write("c.big", ArchiveFixture::jersey("ccccccc").build());

  const CliRun result = run({"info", "a.big", "bad.big", "c.big"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(),
            QStringLiteral("courtside-portraits-cli: bad.big: %1\n").arg(GetParam().reason));
  const QStringList lines = result.outText().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].startsWith("a.big: player aaaaaaa, "));
  EXPECT_TRUE(lines[1].startsWith("c.big: jersey ccccccc, "));

  // In a JSON listing too, in its place, so that a script reads one document;
  // written as it goes, in the text a whole document would have.
  const CliRun json = run({"info", "--json", "a.big", "bad.big", "c.big"});
  EXPECT_EQ(json.exitCode, 1);
  EXPECT_EQ(json.errText(), result.errText());
  const QJsonArray listed = QJsonDocument::fromJson(json.out).array();
  ASSERT_EQ(listed.size(), 3);
  EXPECT_EQ(listed[1].toObject(), (QJsonObject{{"path", "bad.big"}, {"error", GetParam().reason}}));
  EXPECT_EQ(listed[2].toObject()["identifier"].toString(), "ccccccc");
  EXPECT_EQ(json.out, QJsonDocument(listed).toJson());
}

ArchiveFixture with(const std::function<void(ArchiveFixture&)>& change) {
  ArchiveFixture fixture;
  change(fixture);
  return fixture;
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CliInfoRefusal,
    ::testing::Values(Refusal{"SizeField", with([](auto& f) { f.archiveSizeField = 5; }),
                              "its size field does not match its length"},
                      Refusal{"OtherArchive", with([](auto& f) {
                                f.headerLengthRaw = archive::ArchiveLayout::NotPortraitHeaderLength;
                              }),
                              "its header is not that of a portrait archive"},
                      Refusal{"HeaderLength", with([](auto& f) { f.headerLengthRaw = 0x63000000; }),
                              "its header length is unknown"},
                      Refusal{"Marker", with([](auto& f) { f.marker = 0x42; }),
                              "its kind marker is unknown"},
                      Refusal{"Directory", with([](auto& f) { f.memberOffsets[2] = 1 << 20; }),
                              "its directory points outside the file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliInfo, MissingFileIsReportedWithTheSystemsWords) {
  const CliRun result = run({"info", "gone.big"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(), "courtside-portraits-cli: gone.big: No such file or directory\n");
  EXPECT_TRUE(result.out.isEmpty());
}

// Bytes from the file cannot reach the terminal as control sequences.
TEST_F(CliInfo, ControlCharactersInTheIdentifierAreShownEscaped) {
  write("esc.big",
        archiveWithPortrait(ArchiveFixture::playerPackage("a\x1b[2J\x07z"), samplePortrait(Dxt1)));
  const CliRun text = run({"info", "esc.big"});
  EXPECT_TRUE(text.outText().startsWith("esc.big: player a\\x1B[2J\\x07z, "))
      << text.outText().toStdString();
  const CliRun json = run({"info", "--json", "esc.big"});
  EXPECT_EQ(QJsonDocument::fromJson(json.out).array()[0].toObject()["identifier"].toString(),
            "a\x1b[2J\x07z");
  // A reason that repeats a name escapes it as well.
  QDir(dir.path()).mkdir("d\x1b[2Jir");
  const CliRun folder = run({"info", "d\x1b[2Jir"});
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_FALSE(folder.err.contains('\x1b')) << folder.errText().toStdString();
  EXPECT_TRUE(folder.errText().startsWith("courtside-portraits-cli: d\\x1B[2Jir: "));
}

// A listing cut short (a full disk) must not look complete.
TEST_F(CliInfo, OutputThatCannotBeWrittenFailsTheRun) {
  write("a.big", ArchiveFixture::playerPackage("aaaaaaa").build());
  for (const char* format : {"--json", "--quiet"}) {
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    cli.setStandardOutputFile("/dev/full");
    cli.start(QStringLiteral(CPE_CLI_PATH), {"info", format, "a.big"});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 1) << format;
    EXPECT_EQ(cli.readAllStandardError(),
              "courtside-portraits-cli: standard output: No space left on device\n");
  }
}

}  // namespace
