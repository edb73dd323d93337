#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

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

}  // namespace
