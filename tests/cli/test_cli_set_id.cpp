// set-id: Save from the command line, one archive or a roster map; every
// refusal with its exit status, leaving its target untouched.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/archive_fixture.h"
#include "support/cli_process.h"
#include "support/file_snapshot.h"
#include "support/qt_printers.h"

namespace {

class CliSetId : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    writeFile(dir.filePath(name), bytes);
    return name;
  }
  QByteArray read(const QString& name) const { return readFile(dir.filePath(name)); }
  CliRun run(const QStringList& arguments, const QByteArray& input = {}) {
    return runCli(arguments, {dir.path(), input, {}});
  }

  QTemporaryDir dir;
};

TEST_F(CliSetId, SavesACopyUnderTheNewIdentifierInTheArchivesKind) {
  const ArchiveFixture player = ArchiveFixture::playerPackage("ab12cd3");
  const ArchiveFixture jersey = ArchiveFixture::jersey("ab12cd3");
  write("p.big", player.build());
  write("j.big", jersey.build());

  const CliRun first = run({"set-id", "zz99yy8", "p.big", "p2.big"});
  const CliRun second = run({"set-id", "zz99yy8", "j.big", "j2.big"});

  EXPECT_EQ(first.exitCode, 0) << first.errText().toStdString();
  EXPECT_EQ(second.exitCode, 0) << second.errText().toStdString();
  EXPECT_EQ(read("p2.big"), player.buildSavedAs("ZZ99YY8", "zz99yy8", 1));
  EXPECT_EQ(read("j2.big"), jersey.buildSavedAs("zz99yy8", "zz99yy8", 11));
  EXPECT_EQ(read("p.big"), player.build());
  EXPECT_EQ(first.outText(),
            QStringLiteral("p2.big: saved from p.big with identifier zz99yy8 (%1 bytes)\n")
                .arg(player.length()));
}

struct SetIdRefusal {
  const char* name;
  ArchiveFixture source;
  QString identifier;
  QString message;  // after the program's name
};

class CliSetIdRefusal : public CliSetId, public ::testing::WithParamInterface<SetIdRefusal> {};

TEST_P(CliSetIdRefusal, LeavesTheTargetAsItWas) {
  write("a.big", GetParam().source.build());
  write("b.big", "the old target");
  const FileTree before = snapshotTree(dir.path());

  const CliRun result = run({"set-id", GetParam().identifier, "a.big", "b.big"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(), "courtside-portraits-cli: " + GetParam().message + "\n");
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

ArchiveFixture jerseyWithNameTableEnd(int32_t end) {
  ArchiveFixture fixture = ArchiveFixture::jersey();
  fixture.nameTableEnd = end;
  return fixture;
}

ArchiveFixture withMarker(uint8_t marker) {
  ArchiveFixture fixture;
  fixture.marker = marker;
  return fixture;
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CliSetIdRefusal,
    ::testing::Values(
        SetIdRefusal{"Short",
                     {},
                     "ab12",
                     "a.big -> b.big: the identifier must be exactly 7 characters long"},
        SetIdRefusal{"Long",
                     {},
                     "ab12cd34",
                     "a.big -> b.big: the identifier must be exactly 7 characters long"},
        SetIdRefusal{"Empty", ArchiveFixture(), "", "a.big -> b.big: no identifier was given"},
        SetIdRefusal{"NotLatin1",
                     {},
                     QString::fromUtf8("ab12cd\u20ac"),
                     "a.big -> b.big: the archive stores each character of the identifier in one "
                     "byte, so only Latin-1 letters, digits and signs are allowed"},
        SetIdRefusal{"NameTable", jerseyWithNameTableEnd(60), "zz99yy8",
                     "a.big -> b.big: its name table would reach outside the file or over the "
                     "archive's directory"},
        SetIdRefusal{"Source", withMarker(0x42), "zz99yy8", "a.big: its kind marker is unknown"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliSetId, MissingFilesAreNamedWithTheSystemsWords) {
  write("a.big", ArchiveFixture().build());
  const CliRun noSource = run({"set-id", "zz99yy8", "gone.big", "b.big"});
  const CliRun noFolder = run({"set-id", "zz99yy8", "a.big", "nowhere/b.big"});
  EXPECT_EQ(noSource.exitCode, 1);
  EXPECT_EQ(noSource.errText(), "courtside-portraits-cli: gone.big: No such file or directory\n");
  EXPECT_EQ(noFolder.exitCode, 1);
  EXPECT_TRUE(noFolder.errText().startsWith("courtside-portraits-cli: a.big -> nowhere/b.big: "))
      << noFolder.errText().toStdString();
  EXPECT_EQ(entryNames(dir.path()), QStringList{"a.big"});
}

// One bad archive in a roster: the others are saved, it is named, the status is 1.
TEST_F(CliSetId, MapSavesEveryGoodLineWhenOneOfThreeIsBad) {
  const ArchiveFixture a = ArchiveFixture::playerPackage("aaaaaaa");
  const ArchiveFixture c = ArchiveFixture::jersey("ccccccc");
  write("a.big", a.build());
  write("bad.big", withMarker(0x42).build());
  write("c.big", c.build());
  write("roster.csv",
        "source,target,id\n"
        "a.big,out-a.big,aaaaaa1\n"
        "bad.big,out-bad.big,bbbbbb2\n"
        "c.big,out-c.big,cccccc3\n");

  const CliRun result = run({"set-id", "--map", "roster.csv"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errText(), "courtside-portraits-cli: bad.big: its kind marker is unknown\n");
  EXPECT_EQ(read("out-a.big"), a.buildSavedAs("AAAAAA1", "aaaaaa1", 1));
  EXPECT_EQ(read("out-c.big"), c.buildSavedAs("cccccc3", "cccccc3", 11));
  EXPECT_FALSE(QFile::exists(dir.filePath("out-bad.big")));
}

// Quoted fields (a comma in a name), spaces around fields, CRLF line ends, and
// the map read from standard input.
TEST_F(CliSetId, MapFromStandardInputWithQuotesAndCrlf) {
  const ArchiveFixture a = ArchiveFixture::playerPackage("aaaaaaa");
  write("a, b.big", a.build());
  const CliRun result =
      run({"set-id", "--map", "-"}, "\"a, b.big\" , \"x, y.big\", zz99yy8\r\n\r\n");
  EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
  EXPECT_EQ(read("x, y.big"), a.buildSavedAs("ZZ99YY8", "zz99yy8", 1));
}

TEST_F(CliSetId, MalformedMapIsAUsageErrorAndWritesNothing) {
  write("a.big", ArchiveFixture().build());
  write("roster.csv", "a.big,out1.big,zz99yy8\na.big,out2.big\n\"a.big,out3.big,zz99yy8\n");
  const FileTree before = snapshotTree(dir.path());

  const CliRun result = run({"set-id", "--map", "roster.csv"});

  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.errText(),
            "courtside-portraits-cli: roster.csv: line 3: a quote is never closed\n");
  EXPECT_EQ(snapshotTree(dir.path()), before);
  write("roster.csv", "a.big,out1.big,zz99yy8\na.big,out2.big\n");
  EXPECT_EQ(run({"set-id", "--map", "roster.csv"}).errText(),
            "courtside-portraits-cli: roster.csv: line 2: 2 fields where SOURCE,TARGET,ID needs "
            "3\n");
  EXPECT_EQ(run({"set-id", "--map", "gone.csv"}).exitCode, 2);
  const CliRun endless = run({"set-id", "--map", "/dev/zero"});
  EXPECT_EQ(endless.exitCode, 2);
  EXPECT_EQ(endless.errText(),
            "courtside-portraits-cli: /dev/zero: longer than 16 MiB, too long for a roster map\n");
}

// A line that reads what an earlier line wrote sees the earlier line's result,
// as if the lines ran one after the other.
TEST_F(CliSetId, MapLinesSeeWhatEarlierLinesWrote) {
  ArchiveFixture a = ArchiveFixture::playerPackage("aaaaaaa");
  ArchiveFixture oldB = ArchiveFixture::playerPackage("bbbbbbb");
  oldB.trailingBytes = 5;
  write("a.big", a.build());
  write("b.big", oldB.build());
  // Through a link too, made before the file it names.
  ASSERT_TRUE(QFile::link("c.big", dir.filePath("link.big")));
  write("roster.csv", "a.big,b.big,xxxxxx1\nb.big,c.big,yyyyyy2\nlink.big,d.big,zzzzzz3\n");
  const FileTree before = snapshotTree(dir.path());

  // A dry run reads what the lines before would have written.
  const CliRun dryRun = run({"set-id", "--dry-run", "--map", "roster.csv"});
  EXPECT_EQ(dryRun.exitCode, 0) << dryRun.errText().toStdString();
  EXPECT_EQ(dryRun.outText().count("would be saved"), 3);
  // Also when more lines than a batch holds open lie between (groups of 20 here).
  QByteArray longMap = "a.big,new.big,xxxxxx1\n";
  for (int i = 0; i < 100; ++i)
    longMap += QStringLiteral("a.big,o%1.big,zz99yy8\n").arg(i).toUtf8();
  write("long.csv", longMap + "new.big,c.big,yyyyyy2\n");
  const FileTree beforeLong = snapshotTree(dir.path());
  const qint64 folderTime = modifiedNs(dir.path());
  const CliRun longDryRun = runCli({"set-id", "--dry-run", "--quiet", "--map", "long.csv"},
                                   {dir.path(), {}, [] {
                                      const rlimit files{64 + 2 * 20, 64 + 2 * 20};
                                      ::setrlimit(RLIMIT_NOFILE, &files);
                                    }});
  EXPECT_EQ(longDryRun.exitCode, 0) << longDryRun.errText().toStdString();
  EXPECT_EQ(snapshotTree(dir.path()), beforeLong);
  EXPECT_EQ(modifiedNs(dir.path()), folderTime);
  QFile::remove(dir.filePath("long.csv"));
  EXPECT_EQ(snapshotTree(dir.path()), before);

  const CliRun result = run({"set-id", "--map", "roster.csv"});

  EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
  EXPECT_EQ(read("b.big"), a.buildSavedAs("XXXXXX1", "xxxxxx1", 1));
  EXPECT_EQ(read("c.big"), a.buildSavedAs("YYYYYY2", "yyyyyy2", 1));
  EXPECT_EQ(read("d.big"), a.buildSavedAs("ZZZZZZ3", "zzzzzz3", 1));
}

// However two lines name one file, the later would replace what the earlier
// saved; a line may read it, though.
TEST_F(CliSetId, MapThatWritesAFileTwiceIsRefusedWhole) {
  write("a.big", ArchiveFixture().build());
  QDir(dir.path()).mkdir("out");
  ASSERT_TRUE(QFile::link("new.big", dir.filePath("new-link.big")));
  ASSERT_TRUE(QFile::link("a.big", dir.filePath("a-link.big")));
  ASSERT_TRUE(QFile::link("out", dir.filePath("alias")));
  ASSERT_EQ(::link(QFile::encodeName(dir.filePath("a.big")).constData(),
                   QFile::encodeName(dir.filePath("a-hard.big")).constData()),
            0);
  write("roster.csv",
        "a.big,new.big,zz99yy8\na.big,./new.big,zz99yy8\na.big,out/../new-link.big,zz99yy8\n"
        "a.big,a-link.big,zz99yy8\na.big,a-hard.big,zz99yy8\na.big,out/x.big,zz99yy8\n"
        "a.big,alias/x.big,zz99yy8\nnew-link.big,c.big,zz99yy8\na.big,c.big,zz99yy8\n");
  const FileTree before = snapshotTree(dir.path());

  const CliRun result = run({"set-id", "--map", "roster.csv"});

  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.errText(),
            "courtside-portraits-cli: roster.csv: line 2: writes ./new.big, as line 1 does "
            "(new.big)\n"
            "courtside-portraits-cli: roster.csv: line 3: writes out/../new-link.big, as line 1 "
            "does (new.big)\n"
            "courtside-portraits-cli: roster.csv: line 5: writes a-hard.big, as line 4 does "
            "(a-link.big)\n"
            "courtside-portraits-cli: roster.csv: line 7: writes alias/x.big, as line 6 does "
            "(out/x.big)\n"
            "courtside-portraits-cli: roster.csv: line 9: writes c.big, as line 8 does\n");
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

// Within a batch, a file that cannot be written (here: it is larger than the
// file-size limit) is reported and left out; the files around it are saved,
// and no temporary file is left.
TEST_F(CliSetId, MapBatchGoesOnPastAFileThatCannotBeWritten) {
  const ArchiveFixture small = ArchiveFixture::playerPackage("aaaaaaa");
  ArchiveFixture large = ArchiveFixture::playerPackage("bbbbbbb");
  large.trailingBytes = 200 * 1024;
  write("a.big", small.build());
  write("b.big", large.build());
  write("c.big", small.build());
  QDir(dir.path()).mkdir("out");
  write("roster.csv",
        "a.big,out/a.big,zz99yy8\nb.big,out/b.big,zz99yy8\nc.big,out/c.big,zz99yy8\n");
  CliOptions options{dir.path(), {}, [] {
                       const rlimit limit{100 * 1024, 100 * 1024};
                       ::setrlimit(RLIMIT_FSIZE, &limit);
                     }};

  const CliRun result = runCli({"set-id", "--map", "roster.csv"}, options);

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(result.errText().startsWith("courtside-portraits-cli: b.big -> out/b.big: "))
      << result.errText().toStdString();
  EXPECT_EQ(result.errText().count('\n'), 1);
  EXPECT_EQ(entryNames(dir.filePath("out")), (QStringList{"a.big", "c.big"}));
  EXPECT_EQ(read("out/c.big"), small.buildSavedAs("ZZ99YY8", "zz99yy8", 1));
}

TEST_F(CliSetId, DryRunSaysWhatWouldBeWrittenAndWritesNothing) {
  write("a.big", ArchiveFixture().build());
  write("b.big", withMarker(0x42).build());
  write("roster.csv", "a.big,a2.big,zz99yy8\nb.big,b2.big,zz99yy8\na.big,a.big,short\n");
  const FileTree before = snapshotTree(dir.path());
  // A file made and removed at once would show in the folder's time.
  const qint64 folderTime = modifiedNs(dir.path());

  const CliRun result = run({"set-id", "--dry-run", "--map", "roster.csv"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(snapshotTree(dir.path()), before);
  EXPECT_EQ(modifiedNs(dir.path()), folderTime);
  EXPECT_EQ(result.outText(), QStringLiteral("a2.big: would be saved from a.big with identifier "
                                             "zz99yy8 (%1 bytes)\n")
                                  .arg(ArchiveFixture().length()));
  EXPECT_EQ(result.errText(),
            "courtside-portraits-cli: b.big: its kind marker is unknown\n"
            "courtside-portraits-cli: a.big -> a.big: the identifier must be exactly 7 characters "
            "long\n");
}

}  // namespace
