#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "archive/archive_reader.h"
#include "archive/command_error.h"
#include "archive/file_replacement.h"
#include "support/archive_fixture.h"

namespace {

QStringList Entries(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

TEST(ReplaceFileContents, ReplacesALongerFileWithoutAStaleTail) {
  QTemporaryDir dir;
  const QString path = dir.filePath("target.big");
  WriteFile(path, QByteArray(1000, 'x'));
  ReplaceFileContents(path, "short");
  EXPECT_EQ(ReadFile(path), "short");
  EXPECT_EQ(Entries(dir), QStringList{"target.big"});
}

TEST(ReplaceFileContents, FailureLeavesEverythingAsItWas) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  for (const QString name : {"missing/target.big", "folder"}) {
    try {
      ReplaceFileContents(dir.filePath(name), "bytes");
      ADD_FAILURE() << "no failure for " << name.toStdString();
    } catch (const CommandError& error) {
      EXPECT_FALSE(error.Description().isEmpty());
      EXPECT_NE(error.Number(), 0);
    }
  }
  EXPECT_EQ(Entries(dir), QStringList{"folder"});
  EXPECT_TRUE(QDir(dir.filePath("folder")).isEmpty());
}

// Ranges of open files and bytes in memory, in order; the ranges are copied from
// a file on a RAM disk where there is one, so both the in-kernel copy and the
// copy through memory that other file systems may need are exercised.
TEST(ReplaceFileContents, JoinsFileRangesAndBytes) {
  QTemporaryDir dir;
  QTemporaryDir ramDir(QDir("/dev/shm").exists() ? "/dev/shm/cpe-XXXXXX" : QString());
  QByteArray source(3 << 20, '\0');
  for (int i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 31 + i / 4096);
  for (const QTemporaryDir* sourceDir : {&dir, &ramDir}) {
    const QString sourcePath = sourceDir->filePath("source.bin");
    WriteFile(sourcePath, source);
    ArchiveReader reader(sourcePath);
    const QString target = dir.filePath("target.bin");
    ReplaceFileContents(target, {ContentPiece::Range(reader, 0, 10), QByteArrayView("-patch-"),
                                 ContentPiece::Range(reader, 17, source.size() - 17)});
    QByteArray expected = source;
    expected.replace(10, 7, "-patch-");
    EXPECT_EQ(ReadFile(target), expected);
  }
}

TEST(ReplaceFileContents, SourceShortenedAfterItsCheckFailsAndWritesNothing) {
  QTemporaryDir dir;
  const QString sourcePath = dir.filePath("source.bin");
  WriteFile(sourcePath, QByteArray(100000, 's'));
  const QString target = dir.filePath("target.bin");
  WriteFile(target, "old target");
  ArchiveReader reader(sourcePath);
  const std::vector<ContentPiece> pieces{ContentPiece::Range(reader, 0, 100000)};
  ASSERT_TRUE(QFile::resize(sourcePath, 5000));
  try {
    ReplaceFileContents(target, pieces);
    ADD_FAILURE() << "a short source was copied as if whole";
  } catch (const CommandError& error) {
    EXPECT_EQ(error.Number(), PastEndOfFileErrorNumber);
  }
  EXPECT_EQ(ReadFile(target), "old target");
  EXPECT_EQ(Entries(dir), QStringList({"source.bin", "target.bin"}));
}

TEST(ReplaceFileContents, RangesOutsideTheSourceAreRefusedBeforeWriting) {
  QTemporaryDir dir;
  const QString sourcePath = dir.filePath("source.bin");
  WriteFile(sourcePath, QByteArray(64, 's'));
  ArchiveReader reader(sourcePath);
  EXPECT_THROW(ContentPiece::Range(reader, -1, 4), CommandError);
  EXPECT_THROW(ContentPiece::Range(reader, 60, 5), CommandError);
  EXPECT_NO_THROW(ContentPiece::Range(reader, 64, 0));
}

}  // namespace
