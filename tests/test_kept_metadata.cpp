// A file whose content a command replaces keeps what it was beside its
// content: owner, group, mode, extended attributes and access control lists,
// its other hard links. A writable file in a folder the user may not write to
// is written in place; a folder or file the user may not write is named in
// the message with the system's words and number.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <csignal>
#include <cstring>
#include <functional>

#include "archive/portrait_image.h"
#include "archive/save_archive.h"
#include "support/archive_fixture.h"
#include "support/child_process.h"
#include "support/file_snapshot.h"
#include "support/recording_window.h"
#include "ui/command_routines.h"

namespace {

enum class Command { SaveOverTarget, SaveOverArchive, Import, ExportOverTarget };

struct CommandCase {
  const char* name;
  Command command;
};
void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

const ArchiveFixture Fixture = ArchiveFixture::playerPackage("old0001");
const QByteArray NewImage = fshImage(Fixture.imageLength, std::nullopt, 77);

// The file each command replaces, and its content afterwards.
struct Replaced {
  QString path;
  QByteArray expected;
};

class CommandFiles {
 public:
  explicit CommandFiles(const QString& folder, const QString& replacedFolder)
      : m_folder(folder), m_replacedFolder(replacedFolder) {}

  // Lays out the command's files; the file it replaces lies in replacedFolder.
  Replaced layOut(Command command) {
    archive = m_folder + "/portrait.big";
    image = writeFile(m_folder + "/new.fsh", NewImage);
    QByteArray imported = Fixture.build();
    imported.replace(Fixture.offsetOf(4), NewImage.size(), NewImage);
    switch (command) {
      case Command::SaveOverTarget:
        writeFile(archive, Fixture.build());
        target = writeFile(m_replacedFolder + "/target.big", "old target");
        return {target, Fixture.buildSavedAs("NEW0001", "new0001", 1)};
      case Command::SaveOverArchive:
        archive = target = writeFile(m_replacedFolder + "/portrait.big", Fixture.build());
        return {target, Fixture.buildSavedAs("NEW0001", "new0001", 1)};
      case Command::Import:
        archive = writeFile(m_replacedFolder + "/portrait.big", Fixture.build());
        return {archive, imported};
      case Command::ExportOverTarget:
        writeFile(archive, Fixture.build());
        target = writeFile(m_replacedFolder + "/target.fsh", "old target");
        return {target, Fixture.build().mid(Fixture.offsetOf(4), Fixture.imageLength)};
    }
    return {};
  }

  // Runs the command through its window routine; true when it was carried out.
  bool run(Command command, RecordingWindow& window) const {
    ui::WindowState& state = window.state();
    state.archivePath = archive;
    state.importPath = image;
    state.savePath = state.exportPath = target;
    window.text[0] = "new0001";
    switch (command) {
      case Command::SaveOverTarget:
      case Command::SaveOverArchive:
        return ui::saveArchiveFrom(window);
      case Command::Import:
        return ui::importPortraitInto(window);
      case Command::ExportOverTarget:
        return ui::exportPortraitFrom(window);
    }
    return false;
  }

  QString archive;
  QString image;
  QString target;

 private:
  QString m_folder;
  QString m_replacedFolder;
};

struct stat statOf(const QString& path) {
  struct stat info {};
  EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
  return info;
}

// An access control list in the form the kernel stores as the attribute
// system.posix_acl_access: read for user 4321 besides the owner, group and others.
QByteArray accessControlList() {
  QByteArray acl(4, '\0');
  qToLittleEndian<uint32_t>(2, acl.data());  // version
  const auto add = [&acl](uint16_t tag, uint16_t permissions, uint32_t id) {
    QByteArray entry(8, '\0');
    qToLittleEndian<uint16_t>(tag, entry.data());
    qToLittleEndian<uint16_t>(permissions, entry.data() + 2);
    qToLittleEndian<uint32_t>(id, entry.data() + 4);
    acl += entry;
  };
  add(0x01, 6, UINT32_MAX);  // owner: read and write
  add(0x02, 4, 4321);        // user 4321: read
  add(0x04, 4, UINT32_MAX);  // owning group: read
  add(0x10, 4, UINT32_MAX);  // mask: read
  add(0x20, 0, UINT32_MAX);  // others: nothing
  return acl;
}

QByteArray attribute(const QString& path, const char* name) {
  char buffer[1024];
  const ssize_t size = ::getxattr(QFile::encodeName(path).constData(), name, buffer, sizeof buffer);
  return size < 0 ? QByteArray("<none>") : QByteArray(buffer, size);
}

class KeptMetadata : public ::testing::TestWithParam<CommandCase> {
 protected:
  QTemporaryDir dir;
  RecordingWindow window;
};

// Run as root, so that the file can belong to another user and group.
TEST_P(KeptMetadata, OwnerGroupModeAndAttributesStay) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file to another owner";
  CommandFiles files(dir.path(), dir.path());
  const Replaced replaced = files.layOut(GetParam().command);
  const QByteArray path = QFile::encodeName(replaced.path);
  ASSERT_EQ(::chown(path.constData(), 1234, 5678), 0);
  ASSERT_EQ(::chmod(path.constData(), 02640), 0);
  if (::setxattr(path.constData(), "user.origin", "scanner", 7, 0) != 0)
    GTEST_SKIP() << "the file system refuses user attributes: " << std::strerror(errno);
  const QByteArray acl = accessControlList();
  if (::setxattr(path.constData(), "system.posix_acl_access", acl.constData(), acl.size(), 0) != 0)
    GTEST_SKIP() << "the file system refuses access control lists: " << std::strerror(errno);
  const struct stat before = statOf(replaced.path);

  ASSERT_TRUE(files.run(GetParam().command, window))
      << (window.messages.empty() ? "" : window.messages[0].text.toStdString());

  EXPECT_EQ(readFile(replaced.path), replaced.expected);
  const struct stat after = statOf(replaced.path);
  EXPECT_EQ(after.st_uid, 1234u);
  EXPECT_EQ(after.st_gid, 5678u);
  EXPECT_EQ(after.st_mode, before.st_mode) << std::oct << after.st_mode;
  EXPECT_EQ(attribute(replaced.path, "user.origin"), "scanner");
  EXPECT_EQ(attribute(replaced.path, "system.posix_acl_access"), acl);
}

// A file with a second name: both names keep showing one file, which holds
// the new content.
TEST_P(KeptMetadata, HardLinksStayOneFile) {
  CommandFiles files(dir.path(), dir.path());
  const Replaced replaced = files.layOut(GetParam().command);
  const QString otherName = dir.filePath("other-name");
  ASSERT_EQ(::link(QFile::encodeName(replaced.path).constData(),
                   QFile::encodeName(otherName).constData()),
            0);
  const ino_t inode = statOf(replaced.path).st_ino;
  const QStringList names = entryNames(dir.path());

  ASSERT_TRUE(files.run(GetParam().command, window))
      << (window.messages.empty() ? "" : window.messages[0].text.toStdString());

  EXPECT_EQ(readFile(replaced.path), replaced.expected);
  EXPECT_EQ(readFile(otherName), replaced.expected);
  EXPECT_EQ(statOf(replaced.path).st_ino, inode);
  EXPECT_EQ(statOf(replaced.path).st_nlink, 2u);
  EXPECT_EQ(entryNames(dir.path()), names) << "a temporary file was left";
}

// A folder that belongs to root, with a file in it that nobody may write: as
// nobody, the file is written in place, and nothing appears beside it.
TEST_P(KeptMetadata, AWritableFileInALockedFolderIsWrittenInPlace) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to drop to nobody";
  ASSERT_TRUE(QFile::setPermissions(
      dir.path(), QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther));
  const QString locked = dir.filePath("locked");
  ASSERT_TRUE(QDir().mkdir(locked));
  CommandFiles files(dir.path(), locked);
  const Replaced replaced = files.layOut(GetParam().command);
  for (const QString& path : {files.archive, files.image, replaced.path})
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), NobodyId, NobodyId), 0);
  const ino_t inode = statOf(replaced.path).st_ino;
  const QStringList names = entryNames(locked);

  const QByteArray outcome = runInChild([&] {
    if (!becomeNobody()) return QByteArray("cannot become nobody");
    if (files.run(GetParam().command, window)) return QByteArray("done");
    return window.messages.empty() ? QByteArray("refused") : window.messages[0].text.toUtf8();
  });

  EXPECT_EQ(outcome, "done");
  EXPECT_EQ(readFile(replaced.path), replaced.expected);
  EXPECT_EQ(statOf(replaced.path).st_ino, inode);
  EXPECT_EQ(statOf(replaced.path).st_uid, NobodyId);
  EXPECT_EQ(entryNames(locked), names);
}

INSTANTIATE_TEST_SUITE_P(ReplacingCommands, KeptMetadata,
                         ::testing::Values(CommandCase{"SaveOverTarget", Command::SaveOverTarget},
                                           CommandCase{"SaveOverArchive", Command::SaveOverArchive},
                                           CommandCase{"Import", Command::Import},
                                           CommandCase{"ExportOverTarget",
                                                       Command::ExportOverTarget}),
                         [](const auto& info) { return std::string(info.param.name); });

// A file written in place is not touched before its whole new content is
// ready aside: a file-size limit that the new content passes stops the
// preparation, and the file stays as it was.
TEST(InPlaceWrite, AFileSizeLimitLeavesTheFileAsItWas) {
  QTemporaryDir dir;
  const QString archive = writeFile(dir.filePath("portrait.big"), Fixture.build());
  const QString otherName = dir.filePath("other-name.big");
  ASSERT_EQ(
      ::link(QFile::encodeName(archive).constData(), QFile::encodeName(otherName).constData()), 0);
  const QString image = writeFile(dir.filePath("long.fsh"), fshImage(100000, std::nullopt, 3));
  const FileTree before = snapshotTree(dir.path());

  const QByteArray outcome = runInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{50000, 50000};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return QByteArray("no limit");
    const auto imported = archive::importPortrait(archive, image);
    return imported ? QByteArray("imported") : QByteArray::number(imported.error().number);
  });

  EXPECT_EQ(outcome, QByteArray::number(EFBIG));
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

// What this user may not write is named, with the system's number and words.
TEST(NotWritable, TheFolderOrFileIsNamed) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to drop to nobody";
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::setPermissions(
      dir.path(), QFile::permissions(dir.path()) | QFile::ReadOther | QFile::ExeOther));
  const QString locked = dir.filePath("locked");
  ASSERT_TRUE(QDir().mkdir(locked));
  const QString archive = writeFile(dir.filePath("portrait.big"), Fixture.build());
  const QString readOnly = writeFile(dir.filePath("read-only.fsh"), "mine");
  for (const QString& path : {archive, dir.path()})
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), NobodyId, NobodyId), 0);
  const FileTree before = snapshotTree(dir.path());

  RecordingWindow window;
  window.state().archivePath = archive;
  const auto exportTo = [&](const QString& target) {
    return runInChild([&] {
      if (!becomeNobody()) return QByteArray("cannot become nobody");
      window.state().exportPath = target;
      ui::exportPortraitFrom(window);
      return window.messages.empty() ? QByteArray("exported") : window.messages[0].text.toUtf8();
    });
  };
  const QString denied = QString::fromLocal8Bit(std::strerror(EACCES));
  EXPECT_EQ(QString::fromUtf8(exportTo(locked + "/new.fsh")),
            QStringLiteral("ERROR: The folder \u2068%1\u2069 is not writable: %2. [Error #13]")
                .arg(locked, denied));
  EXPECT_EQ(QString::fromUtf8(exportTo(readOnly)),
            QStringLiteral("ERROR: \u2068%1\u2069 is not writable: %2. [Error #13]")
                .arg(readOnly, denied));
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

}  // namespace
