// Taking imports back: the archive's exact bytes, one import at a time, and
// never over what another program wrote since.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "archive/import_undo.h"
#include "archive/portrait_image.h"
#include "support/archive_fixture.h"
#include "support/file_snapshot.h"

namespace {

class ImportUndoTest : public ::testing::Test {
 protected:
  // Imports image into the archive, keeping the change in history.
  void import(const QByteArray& image) {
    auto change = archive::changeArchive(
        archive, [&] { return archive::importPortraitBytes(archive, image); });
    ASSERT_TRUE(change);
    history.record(std::move(*change));
  }

  QTemporaryDir dir;
  // The portrait is the last member, so images of other lengths change the
  // archive's length and size field too.
  const QByteArray original = ArchiveFixture::playerPackage().build();
  const QString archive = writeFile(dir.filePath("ab12cd3.big"), original);
  archive::ImportHistory history;
};

TEST_F(ImportUndoTest, EachUndoPutsBackTheBytesBeforeOneImport) {
  import(fshImage(400, std::nullopt, 2));
  const QByteArray afterFirst = readFile(archive);
  import(fshImage(200, std::nullopt, 3));
  ASSERT_NE(readFile(archive).size(), afterFirst.size());

  ASSERT_TRUE(history.undo());
  EXPECT_EQ(readFile(archive), afterFirst);
  ASSERT_TRUE(history.undo());
  EXPECT_EQ(readFile(archive), original);
  EXPECT_FALSE(history.canUndo(archive));
}

TEST_F(ImportUndoTest, AnArchiveChangedSinceTheImportIsLeftAsItIs) {
  import(fshImage(400, std::nullopt, 2));
  QByteArray changed = readFile(archive);
  changed[changed.size() - 1] = char(changed.back() ^ 1);  // the same length, one bit
  writeFile(archive, changed);
  const auto before = snapshotFile(archive);

  const auto undone = history.undo();
  ASSERT_FALSE(undone);
  EXPECT_TRUE(undone.error().changedSince);
  EXPECT_EQ(snapshotFile(archive), before);
  EXPECT_TRUE(history.canUndo(archive));  // kept: the outside change may be reverted
}

TEST_F(ImportUndoTest, AChangeToAnotherArchiveStartsAFreshHistory) {
  import(fshImage(400, std::nullopt, 2));
  const QString other = writeFile(dir.filePath("zz99yy8.big"), original);
  history.record(archive::ArchiveChange{other, original, original});
  EXPECT_EQ(history.size(), 1);
  EXPECT_FALSE(history.canUndo(archive));
}

}  // namespace
