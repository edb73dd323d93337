// Committing prepared files together: each ends as its own commit would leave
// it, one that fails leaves its file as it was, and no temporary file stays.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "fileio/batch_commit.h"
#include "fileio/file_replacement.h"
#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/qt_printers.h"

namespace {

fileio::FileReplacement prepared(const QString& path, const QByteArray& bytes) {
  auto replacement = fileio::FileReplacement::prepare(path, {QByteArrayView(bytes)});
  EXPECT_TRUE(replacement) << path.toStdString();
  return std::move(replacement).value();
}

TEST(CommitTogether, ReplacesAndCreatesEveryFile) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("other");
  writeFile(dir.filePath("old.big"), "old content");
  std::vector<fileio::FileReplacement> replacements;
  for (const char* name : {"old.big", "new.big", "other/new.big"})
    replacements.push_back(prepared(dir.filePath(name), QByteArray(name) + " bytes"));

  const auto results = fileio::commitTogether(replacements);

  ASSERT_EQ(results.size(), 3u);
  for (const auto& result : results) EXPECT_TRUE(result);
  EXPECT_EQ(readFile(dir.filePath("old.big")), "old.big bytes");
  EXPECT_EQ(readFile(dir.filePath("new.big")), "new.big bytes");
  EXPECT_EQ(readFile(dir.filePath("other/new.big")), "other/new.big bytes");
  EXPECT_EQ(entryNames(dir.path()), (QStringList{"new.big", "old.big", "other"}));
  EXPECT_EQ(entryNames(dir.filePath("other")), QStringList{"new.big"});
}

// A target that became a folder after its file was prepared cannot be renamed
// over: that one fails, the files around it are committed.
TEST(CommitTogether, OneFailureLeavesItsFileAndTheOthersGoOn) {
  QTemporaryDir dir;
  std::vector<fileio::FileReplacement> replacements;
  for (const char* name : {"a.big", "b.big", "c.big"}) {
    writeFile(dir.filePath(name), "old");
    replacements.push_back(prepared(dir.filePath(name), "new"));
  }
  ASSERT_TRUE(QFile::remove(dir.filePath("b.big")));
  ASSERT_TRUE(QDir(dir.path()).mkdir("b.big"));

  const auto results = fileio::commitTogether(replacements);

  EXPECT_TRUE(results[0]);
  ASSERT_FALSE(results[1]);
  EXPECT_EQ(results[1].error().kind, fileio::FileError::Kind::SystemError);
  EXPECT_TRUE(results[2]);
  EXPECT_EQ(readFile(dir.filePath("a.big")), "new");
  EXPECT_EQ(readFile(dir.filePath("c.big")), "new");
  EXPECT_TRUE(QDir(dir.filePath("b.big")).isEmpty());
  EXPECT_EQ(entryNames(dir.path()), (QStringList{"a.big", "b.big", "c.big"}));
}

}  // namespace
