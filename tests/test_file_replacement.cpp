#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <utility>

#include "fileio/file_reader.h"
#include "fileio/file_replacement.h"
#include "support/archive_fixture.h"
#include "support/child_process.h"
#include "support/file_snapshot.h"

namespace {

QStringList entries(const QTemporaryDir& dir) { return entryNames(dir.path()); }

TEST(ReplaceFileContents, ReplacesALongerFileWithoutAStaleTail) {
  QTemporaryDir dir;
  const QString path = dir.filePath("target.big");
  writeFile(path, QByteArray(1000, 'x'));
  ASSERT_TRUE(fileio::replaceFileContents(path, "short"));
  EXPECT_EQ(readFile(path), "short");
  EXPECT_EQ(entries(dir), QStringList{"target.big"});
}

TEST(ReplaceFileContents, FailureLeavesEverythingAsItWas) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  const auto missing = fileio::replaceFileContents(dir.filePath("missing/target.big"), "bytes");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().kind, fileio::FileError::Kind::SystemError);
  EXPECT_EQ(missing.error().number, ENOENT);
  EXPECT_FALSE(missing.error().detail.isEmpty());
  const auto folder = fileio::replaceFileContents(dir.filePath("folder"), "bytes");
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.error(), fileio::FileError::notRegularFile(dir.filePath("folder"), S_IFDIR));
  EXPECT_EQ(entries(dir), QStringList{"folder"});
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
    writeFile(sourcePath, source);
    const auto reader = fileio::FileReader::open(sourcePath);
    ASSERT_TRUE(reader);
    const QString target = dir.filePath("target.bin");
    ASSERT_TRUE(fileio::replaceFileContents(
        target, {*fileio::ContentPiece::range(*reader, 0, 10), QByteArrayView("-patch-"),
                 *fileio::ContentPiece::range(*reader, 17, source.size() - 17)}));
    QByteArray expected = source;
    expected.replace(10, 7, "-patch-");
    EXPECT_EQ(readFile(target), expected);
  }
}

TEST(ReplaceFileContents, SourceShortenedAfterItsCheckFailsAndWritesNothing) {
  QTemporaryDir dir;
  const QString sourcePath = dir.filePath("source.bin");
  writeFile(sourcePath, QByteArray(100000, 's'));
  const QString target = dir.filePath("target.bin");
  writeFile(target, "old target");
  const auto reader = fileio::FileReader::open(sourcePath);
  ASSERT_TRUE(reader);
  const std::vector<fileio::ContentPiece> pieces{*fileio::ContentPiece::range(*reader, 0, 100000)};
  ASSERT_TRUE(QFile::resize(sourcePath, 5000));
  const auto replaced = fileio::replaceFileContents(target, pieces);
  ASSERT_FALSE(replaced) << "a short source was copied as if whole";
  EXPECT_EQ(replaced.error(), fileio::FileError::pastEndOfFile(sourcePath));
  EXPECT_EQ(readFile(target), "old target");
  EXPECT_EQ(entries(dir), QStringList({"source.bin", "target.bin"}));
}

TEST(ReplaceFileContents, RangesOutsideTheSourceAreRefusedBeforeWriting) {
  QTemporaryDir dir;
  const QString sourcePath = dir.filePath("source.bin");
  writeFile(sourcePath, QByteArray(64, 's'));
  const auto reader = fileio::FileReader::open(sourcePath);
  ASSERT_TRUE(reader);
  EXPECT_EQ(fileio::ContentPiece::range(*reader, -1, 4).error(),
            fileio::FileError::positionBeforeStart(sourcePath));
  EXPECT_EQ(fileio::ContentPiece::range(*reader, 60, 5).error(),
            fileio::FileError::pastEndOfFile(sourcePath));
  EXPECT_TRUE(fileio::ContentPiece::range(*reader, 64, 0));
}

}  // namespace

namespace {

// The two steps: nothing of the file changes until the commit, and a
// replacement given up leaves nothing behind.
TEST(FileReplacement, NothingChangesUntilTheCommit) {
  QTemporaryDir dir;
  const QString path = writeFile(dir.filePath("target.big"), "old content");
  const auto before = snapshotFile(path);
  {
    auto replacement =
        fileio::FileReplacement::prepare(path, {QByteArrayView("new content, longer")});
    ASSERT_TRUE(replacement);
    EXPECT_EQ(replacement->method(), fileio::FileReplacement::Method::Rename);
    const auto prepared = replacement->readPrepared();
    ASSERT_TRUE(prepared);
    EXPECT_EQ(*prepared->readAt(0, prepared->length()), "new content, longer");
    EXPECT_EQ(snapshotFile(path), before);
  }
  EXPECT_EQ(snapshotFile(path), before);
  EXPECT_EQ(entries(dir), QStringList{"target.big"});

  // A caller that synced the file system itself (a batch) commits without a sync of its own.
  auto replacement = fileio::FileReplacement::prepare(path, {QByteArrayView("new")});
  ASSERT_TRUE(replacement);
  ASSERT_TRUE(replacement->commit(fileio::FileReplacement::Sync::DoneByCaller));
  EXPECT_EQ(readFile(path), "new");
  EXPECT_EQ(entries(dir), QStringList{"target.big"});
}

// A file with another name is written in place, and shorter content leaves no old tail.
TEST(FileReplacement, AHardLinkedFileIsWrittenInPlace) {
  QTemporaryDir dir;
  const QString path = writeFile(dir.filePath("target.big"), "old content, longer than the new");
  ASSERT_EQ(::link(QFile::encodeName(path).constData(),
                   QFile::encodeName(dir.filePath("other.big")).constData()),
            0);
  auto replacement = fileio::FileReplacement::prepare(path, {QByteArrayView("new")});
  ASSERT_TRUE(replacement);
  EXPECT_EQ(replacement->method(), fileio::FileReplacement::Method::InPlace);
  EXPECT_EQ(readFile(path), "old content, longer than the new");
  ASSERT_TRUE(replacement->commit());
  EXPECT_EQ(readFile(path), "new");
  EXPECT_EQ(readFile(dir.filePath("other.big")), "new");
  EXPECT_EQ(entries(dir), QStringList({"other.big", "target.big"}));
}

// Everything goes through the folder as it was opened: moved meanwhile, it
// gets the new file (with the old one's attributes) and keeps no temporary
// file, and nothing appears at its old path.
TEST(FileReplacement, AFolderMovedMeanwhileGetsTheFileAndKeepsNoTemporaryFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("a"));
  QDir root(dir.path());
  {
    const auto givenUp =
        fileio::FileReplacement::prepare(dir.filePath("a/target.big"), {QByteArrayView("no")});
    ASSERT_TRUE(givenUp);
    ASSERT_TRUE(root.rename("a", "b"));
  }
  EXPECT_EQ(entryNames(dir.filePath("b")), QStringList());
  writeFile(dir.filePath("b/target.big"), "old");
  auto replacement =
      fileio::FileReplacement::prepare(dir.filePath("b/target.big"), {QByteArrayView("new")});
  ASSERT_TRUE(replacement);
  ASSERT_TRUE(root.rename("b", "c"));
  const auto committed = replacement->commit();
  ASSERT_TRUE(committed) << committed.error().detail.toStdString();
  EXPECT_EQ(entries(dir), QStringList{"c"});
  EXPECT_EQ(entryNames(dir.filePath("c")), QStringList{"target.big"});
  EXPECT_EQ(readFile(dir.filePath("c/target.big")), "new");
}

// Names are limited in bytes: the temporary name cut from a long UTF-8 name
// must fit, and never end in half a character.
TEST(FileReplacement, ALongUtf8NameGetsATemporaryNameThatFits) {
  QTemporaryDir dir;
  const QChar wide(0x4E2D);                         // three bytes in UTF-8
  const QString name = QString(82, wide) + ".big";  // 250 bytes
  auto replacement = fileio::FileReplacement::prepare(dir.filePath(name), {QByteArrayView("new")});
  ASSERT_TRUE(replacement) << replacement.error().detail.toStdString();
  ASSERT_EQ(entries(dir).size(), 1);
  EXPECT_TRUE(entries(dir)[0].startsWith("." + QString(33, wide) + "."))
      << entries(dir)[0].toStdString();
  ASSERT_TRUE(replacement->commit());
  EXPECT_EQ(entries(dir), QStringList{name});
  EXPECT_EQ(readFile(dir.filePath(name)), "new");
}

// In a sticky folder only a file's owner may replace it; another user who may
// write it gets it written in place, and nothing is left beside it.
TEST(FileReplacement, AnotherUsersWritableFileInAStickyFolderIsWrittenInPlace) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to drop to nobody";
  QTemporaryDir dir;
  ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
  const QString sticky = dir.filePath("sticky");
  ASSERT_TRUE(QDir().mkdir(sticky));
  ASSERT_EQ(::chmod(QFile::encodeName(sticky).constData(), 01777), 0);
  const QString path = writeFile(sticky + "/target.big", "root's old content");
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
  const auto before = snapshotFile(path);

  const QByteArray outcome = runInChild([&] {
    if (!becomeNobody()) return QByteArray("cannot become nobody");
    const auto replaced = fileio::replaceFileContents(path, "new");
    return replaced ? QByteArray("done") : replaced.error().detail.toUtf8();
  });

  EXPECT_EQ(outcome, "done");
  EXPECT_EQ(readFile(path), "new");
  EXPECT_EQ(snapshotFile(path)->inode, before->inode);
  EXPECT_EQ(entryNames(sticky), QStringList{"target.big"});
}

// A dry run's check makes prepare's checks and creates nothing: not even the
// folder's time changes.
TEST(FileReplacementCheck, RefusesWhatPrepareWouldAndCreatesNothing) {
  QTemporaryDir dir;
  const QString existing = writeFile(dir.filePath("old.big"), "old content");
  const qint64 folderTime = modifiedNs(dir.path());
  const auto check = [](const QString& path, qint64 length) {
    return fileio::FileReplacement::check(path, length);
  };

  const auto fresh = check(dir.filePath("new.big"), 1000);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(fresh->room, 1000);
  EXPECT_GE(fresh->available, 1000);
  EXPECT_EQ(check(dir.filePath("missing/new.big"), 1).error().number, ENOENT);
  EXPECT_EQ(check(dir.path(), 1).error().kind, fileio::FileError::Kind::NotRegularFile);
  EXPECT_EQ(check(existing, qint64{1} << 62).error(), fileio::FileError::system(ENOSPC, existing));
  if (::geteuid() == 0) {
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QByteArray locked = runInChild([&] {
      if (!becomeNobody()) return QByteArray("cannot become nobody");
      const auto checked = check(dir.filePath("new.big"), 1);
      return checked ? QByteArray("allowed") : QByteArray::number(int(checked.error().kind));
    });
    EXPECT_EQ(locked, QByteArray::number(int(fileio::FileError::Kind::FolderNotWritable)));
  }
  EXPECT_EQ(entries(dir), QStringList{"old.big"});
  EXPECT_EQ(modifiedNs(dir.path()), folderTime);
}

// Files that each fit can together be too many for their file system.
TEST(SpaceBudget, SumsTheRoomOnEachFileSystem) {
  fileio::SpaceBudget budget;
  EXPECT_TRUE(budget.take({"a", 1, 600, 1000}));
  EXPECT_TRUE(budget.take({"b", 2, 600, 1000}));
  EXPECT_EQ(budget.take({"c", 1, 600, 1000}).error(), fileio::FileError::system(ENOSPC, "c"));
  EXPECT_TRUE(budget.take({"d", 1, 400, 1000}));  // c took nothing
}

}  // namespace
