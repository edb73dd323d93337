#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "archive/command_error.h"
#include "archive/save_archive.h"
#include "support/archive_fixture.h"
#include "support/recording_window.h"

namespace {

// What a refused or failed save must leave alone: content, inode and time.
struct FileSnapshot {
  QByteArray bytes;
  ino_t inode = 0;
  time_t mtime = 0;
  bool operator==(const FileSnapshot&) const = default;
};

void PrintTo(const FileSnapshot& s, std::ostream* os) {
  PrintTo(s.bytes, os);
  *os << " inode " << s.inode << " mtime " << s.mtime;
}

FileSnapshot Snapshot(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
  return {ReadFile(path), info.st_ino, info.st_mtime};
}

// The source with the identifier written where a save of that kind writes it.
QByteArray WithIdentifier(const ArchiveFixture& fixture, const QByteArray& directoryId,
                          const QByteArray& dataId, int copies) {
  QByteArray bytes = fixture.Build();
  for (const int at : {24, 44, 66, 86}) bytes.replace(at, 7, directoryId);
  for (int copy = 0; copy < copies; ++copy)
    bytes.replace(fixture.LastIdentifierCopy() - 10 * copy, 7, dataId);
  return bytes;
}

class SaveArchiveTest : public ::testing::Test {
 protected:
  QString Write(const QByteArray& bytes, const QString& name = "current.big") {
    return WriteFile(dir.filePath(name), bytes);
  }
  // The state a successful load and the user's typing leave.
  void Prepare(const QString& archive, const QString& pkgtxt, const QString& jrsytxt,
               const QString& target) {
    window.State().ArchivePath = archive;
    window.State().SavePath = target;
    window.text[0] = pkgtxt;
    window.text[1] = jrsytxt;
  }
  QStringList Entries() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
  }

  QTemporaryDir dir;
  RecordingWindow window;
};

struct SavedCase {
  const char* name;
  ArchiveFixture source;
  QString pkgtxt;
  QString jrsytxt;
  QByteArray directoryId;
  QByteArray dataId;
  int copies;
};

void PrintTo(const SavedCase& c, std::ostream* os) { *os << c.name; }

class SavedIdentifier : public SaveArchiveTest, public ::testing::WithParamInterface<SavedCase> {};

TEST_P(SavedIdentifier, IsWrittenIntoDirectoryAndNameTableOnly) {
  const SavedCase& c = GetParam();
  const QString source = Write(c.source.Build());
  // A longer file at the target must not leave its tail behind.
  const QString target = Write(QByteArray(10000, 'o'), "target.big");
  Prepare(source, c.pkgtxt, c.jrsytxt, target);

  ASSERT_TRUE(SaveArchive(window));
  EXPECT_EQ(ReadFile(target), WithIdentifier(c.source, c.directoryId, c.dataId, c.copies));
  EXPECT_EQ(ReadFile(target).mid(86, 7), c.directoryId);
  EXPECT_EQ(ReadFile(target).mid(c.source.LastIdentifierCopy(), 7), c.dataId);
  EXPECT_EQ(ReadFile(source), c.source.Build());
  EXPECT_EQ(Entries(), QStringList({"current.big", "target.big"}));

  // The saved file is now the current archive, and nothing else in the window changed.
  EXPECT_EQ(window.State().ArchivePath, target);
  EXPECT_EQ(window.State().SavePath, target);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_TRUE(window.calls.isEmpty()) << window.calls.join("; ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SavedIdentifier,
    ::testing::Values(
        SavedCase{"PlayerPackageUpperCaseDirectory", ArchiveFixture::PlayerPackage("old0001"),
                  "Ab12Cd3", "", "AB12CD3", "ab12cd3", 1},
        SavedCase{"JerseyLowerCaseEverywhere", ArchiveFixture::Jersey("old0001"), "", "Ab12Cd3",
                  "ab12cd3", "ab12cd3", 11},
        // pkgtxt is looked at first: a jersey is then saved as a player package.
        SavedCase{"BothBoxesSaveAsPlayerPackage", ArchiveFixture::Jersey("old0001"), "Ab12Cd3",
                  "zz99zz9", "AB12CD3", "ab12cd3", 1},
        // Letters whose other case is not Latin-1 (y diaeresis, micro sign, sharp s) stay.
        SavedCase{"Latin1Letters", ArchiveFixture::PlayerPackage("old0001"),
                  QString::fromUtf8("Éa1ÿµßz"), "",
                  QByteArray("\xC9"
                             "A1\xFF\xB5\xDF"
                             "Z"),
                  QByteArray("\xE9"
                             "a1\xFF\xB5\xDF"
                             "z"),
                  1},
        // An accent typed as a combining mark is one character, stored as one byte.
        SavedCase{"CombiningAccentIsComposed", ArchiveFixture::Jersey("old0001"), "",
                  QString::fromUtf8("abcde\u0301fg"),
                  QByteArray("abcd\xE9"
                             "fg"),
                  QByteArray("abcd\xE9"
                             "fg"),
                  11}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveArchiveTest, SavingOverTheCurrentFileChangesOnlyTheIdentifierBytes) {
  ArchiveFixture fixture = ArchiveFixture::Jersey("old0001");
  fixture.TrailingBytes = 333;
  const QByteArray before = fixture.Build();
  const QString path = Write(before);
  Prepare(path, "", "New7777", path);

  ASSERT_TRUE(SaveArchive(window));
  const QByteArray after = ReadFile(path);
  ASSERT_EQ(after.size(), before.size());
  QList<int> changed;
  for (int i = 0; i < before.size(); ++i)
    if (before[i] != after[i]) changed << i;
  QList<int> expected;
  for (const int at : {24, 44, 66, 86})
    for (int i = 0; i < 7; ++i) expected << at + i;
  for (int copy = 10; copy >= 0; --copy)
    for (int i = 0; i < 7; ++i) expected << fixture.LastIdentifierCopy() - 10 * copy + i;
  EXPECT_EQ(changed, expected);
  EXPECT_EQ(after.count("new7777"), 15);
  EXPECT_EQ(Entries(), QStringList{"current.big"});
}

// A refused save tells the user why and neither creates nor touches the target.
struct RefusedCase {
  const char* name;
  std::function<QByteArray()> archive;
  QString pkgtxt;
  QString jrsytxt;
  QString caption;
  QString text;  // the whole text, or a part of it for the longer ones
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class RefusedSave : public SaveArchiveTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedSave, WritesNothing) {
  const RefusedCase& c = GetParam();
  const QByteArray source = c.archive();
  const QString current = Write(source);
  const QString existing = Write(QByteArray(300, 'o'), "existing.big");
  // An old time stamp, so that any write would show.
  const utimbuf old{1000000000, 1000000000};
  ASSERT_EQ(::utime(QFile::encodeName(existing).constData(), &old), 0);
  const FileSnapshot existingBefore = Snapshot(existing);
  const FileSnapshot currentBefore = Snapshot(current);

  for (const QString& target : {dir.filePath("new.big"), existing, current}) {
    SCOPED_TRACE(target.toStdString());
    window.messages.clear();
    Prepare(current, c.pkgtxt, c.jrsytxt, target);
    EXPECT_FALSE(SaveArchive(window));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].Caption, c.caption);
    EXPECT_TRUE(window.messages[0].Text.contains(c.text)) << window.messages[0].Text.toStdString();
    EXPECT_EQ(window.messages[0].Style, MessageStyle::Plain);
    EXPECT_EQ(window.State().ArchivePath, current);
  }
  EXPECT_EQ(Entries(), QStringList({"current.big", "existing.big"}));
  EXPECT_EQ(Snapshot(existing), existingBefore);
  EXPECT_EQ(Snapshot(current), currentBefore);
}

std::function<QByteArray()> Built(ArchiveFixture fixture) {
  return [fixture] { return fixture.Build(); };
}
std::function<QByteArray()> With(std::function<void(ArchiveFixture&)> change) {
  return [change] {
    ArchiveFixture fixture;
    change(fixture);
    return fixture.Build();
  };
}

const QString OnlySeven = "Only 7 characters are allowed. No more no less";
const QString OneByte = "stores each character of the identifier in one byte";

INSTANTIATE_TEST_SUITE_P(
    Identifier, RefusedSave,
    ::testing::Values(
        RefusedCase{"NoIdentifier", Built(ArchiveFixture()), "", "", "Error", "unknown file type"},
        RefusedCase{"SixCharacters", Built(ArchiveFixture()), "ab12cd", "", "Error", OnlySeven},
        RefusedCase{"EightCharacters", Built(ArchiveFixture::Jersey()), "", "ab12cd34", "Error",
                    OnlySeven},
        // A combining mark without a composed form: 7 characters, 8 code points.
        RefusedCase{"UncomposableAccent", Built(ArchiveFixture()),
                    QString::fromUtf8("ab12cdq\u0301"), "", "Error", OneByte},
        RefusedCase{"OutsideLatin1", Built(ArchiveFixture()), QString::fromUtf8("ab12cdĀ"), "",
                    "Error", OneByte},
        // Outside the basic plane: one character in two UTF-16 units.
        RefusedCase{"SurrogatePair", Built(ArchiveFixture()), QString::fromUtf8("ab12cd😀"), "",
                    "Error", OneByte},
        RefusedCase{"SurrogatePairMakesEight", Built(ArchiveFixture()),
                    QString::fromUtf8("ab12cd3😀"), "", "Error", OnlySeven}),
    [](const auto& info) { return std::string(info.param.name); });

// The archive on disk no longer passes Load's checks (changed or replaced since
// it was loaded), or patching it would write outside its name table.
INSTANTIATE_TEST_SUITE_P(
    ChangedArchive, RefusedSave,
    ::testing::Values(
        RefusedCase{"GrewOnDisk", [] { return ArchiveFixture().Build() + "tail"; }, "ab12cd3", "",
                    "Invalid File", "current.big is no longer a valid portrait archive: its size"},
        RefusedCase{"NotAPortrait", With([](ArchiveFixture& f) { f.HeaderLengthRaw = 0x5D000000; }),
                    "ab12cd3", "", "Invalid File", "its header"},
        RefusedCase{"OtherHeaderLength",
                    With([](ArchiveFixture& f) { f.HeaderLengthRaw = 0x00000062; }), "ab12cd3", "",
                    "Invalid File", "its header"},
        RefusedCase{"UnknownMarker", With([](ArchiveFixture& f) { f.Marker = 0x19; }), "ab12cd3",
                    "", "Invalid File", "its kind marker"},
        RefusedCase{"EmptyFile", [] { return QByteArray(); }, "ab12cd3", "", "Invalid File",
                    "points outside the file"},
        RefusedCase{"MarkerPastEnd",
                    With([](ArchiveFixture& f) { f.MemberOffsets[0] = f.Length() - 12; }),
                    "ab12cd3", "", "Invalid File", "points outside the file"},
        RefusedCase{"NameTableEndOverflows",
                    [] {
                      ArchiveFixture f;
                      QByteArray bytes = f.Build();
                      PutWord(bytes, f.OffsetOf(3) + 8, INT32_MAX - 100);
                      return bytes;
                    },
                    "ab12cd3", "", "Invalid File", "points outside the file"},
        // L = 115: the first of the eleven jersey copies would overwrite L itself.
        RefusedCase{"JerseyCopiesBeforeTheNameTable",
                    [] {
                      ArchiveFixture f = ArchiveFixture::Jersey();
                      QByteArray bytes = f.Build();
                      PutWord(bytes, f.OffsetOf(3) + 8, 115);
                      return bytes;
                    },
                    "", "ab12cd3", "Invalid File", "name table would reach outside the file"},
        // Member 3 said to start at offset 0: its L is the member-count field, and
        // the copy at P = 30 would overwrite the directory.
        RefusedCase{"NameTableOverTheDirectory", With([](ArchiveFixture& f) {
                      f.MemberOffsets[2] = 0;
                      f.MemberCount = 40;
                    }),
                    "ab12cd3", "", "Invalid File", "over the archive's directory"},
        // Member 1 said to start at 12: its marker is the first byte of entry 1's name.
        RefusedCase{"MarkerInADirectoryName", With([](ArchiveFixture& f) {
                      f.MemberOffsets[0] = 12;
                      f.DirectoryId = QByteArray(
                          "\x18"
                          "B12CD3");
                    }),
                    "ab12cd3", "", "Invalid File", "tell the archive's kind"},
        // Member 1 overlapping member 3: its marker is the identifier's first byte.
        RefusedCase{"MarkerUnderTheIdentifier", With([](ArchiveFixture& f) {
                      f.NameTableId = QByteArray(
                          "\x18"
                          "b12cd3");
                      f.MemberOffsets[0] = f.LastIdentifierCopy() - 12;
                    }),
                    "ab12cd3", "", "Invalid File", "tell the archive's kind"},
        // Member 3 said to start at 16: its L is read from entry 1's name, 124.
        RefusedCase{"NameTableEndInADirectoryName", With([](ArchiveFixture& f) {
                      f.MemberOffsets[2] = 16;
                      f.DirectoryId = QByteArray("\x7c\0\0\0xyz", 7);
                    }),
                    "ab12cd3", "", "Invalid File", "where its name table ends"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveArchiveTest, JerseyCopiesMayFillTheWholeNameTable) {
  // L = 122: the first of the eleven copies starts right after the table's 12-byte start.
  ArchiveFixture fixture = ArchiveFixture::Jersey("old0001");
  fixture.NameTableEnd = 122;
  const QString path = Write(fixture.Build());
  Prepare(path, "", "new0001", dir.filePath("saved.big"));
  ASSERT_TRUE(SaveArchive(window));
  EXPECT_EQ(ReadFile(dir.filePath("saved.big")), WithIdentifier(fixture, "new0001", "new0001", 11));
}

// Runtime failures reach the Save command's error report; the target stays as it was.
TEST_F(SaveArchiveTest, UnwritableTargetsThrowAndLeaveEverythingAsItWas) {
  const QString current = Write(ArchiveFixture::PlayerPackage().Build());
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  for (const QString& target :
       {dir.filePath("missing/target.big"), dir.filePath("folder"), QString()}) {
    SCOPED_TRACE(target.toStdString());
    Prepare(current, "new0001", "", target);
    try {
      SaveArchive(window);
      ADD_FAILURE() << "the save did not fail";
    } catch (const CommandError& error) {
      EXPECT_NE(error.Number(), 0);
      EXPECT_FALSE(error.Description().isEmpty());
    }
    EXPECT_EQ(window.State().ArchivePath, current);
    EXPECT_TRUE(window.messages.empty());
  }
  EXPECT_EQ(Entries(), QStringList({"current.big", "folder"}));
  EXPECT_TRUE(QDir(dir.filePath("folder")).isEmpty());
}

TEST_F(SaveArchiveTest, MissingCurrentArchiveThrows) {
  Prepare(dir.filePath("gone.big"), "new0001", "", dir.filePath("target.big"));
  EXPECT_THROW(SaveArchive(window), CommandError);
  EXPECT_TRUE(Entries().isEmpty());
}

// Runs SaveArchive in a child process after prepare() and tells how it ended:
// "saved", "refused", "error <number>" or what went wrong before.
std::string SaveInChild(RecordingWindow& window, const std::function<bool()>& prepare) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    std::string outcome = "prepare failed";
    if (prepare()) {
      try {
        outcome = SaveArchive(window) ? "saved" : "refused";
      } catch (const CommandError& error) {
        outcome = "error " + std::to_string(error.Number());
      }
    }
    const ssize_t written = ::write(pipeEnds[1], outcome.data(), outcome.size());
    ::_exit(written == static_cast<ssize_t>(outcome.size()) ? 0 : 1);
  }
  ::close(pipeEnds[1]);
  std::string outcome;
  char buffer[64];
  for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) outcome.append(buffer, n);
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) outcome += " (child did not exit cleanly)";
  return outcome;
}

TEST_F(SaveArchiveTest, FileSizeLimitLeavesTheOldTargetAndNoTemporaryFile) {
  ArchiveFixture fixture;
  fixture.TrailingBytes = 8000;
  const QString current = Write(fixture.Build());
  const QString target = Write(QByteArray(600, 'o'), "target.big");
  const FileSnapshot before = Snapshot(target);
  Prepare(current, "new0001", "", target);

  const std::string outcome = SaveInChild(window, [] {
    const rlimit limit{4096, 4096};
    return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  });
  EXPECT_EQ(outcome.rfind("error ", 0), 0u) << outcome;
  EXPECT_EQ(Snapshot(target), before);
  EXPECT_EQ(Entries(), QStringList({"current.big", "target.big"}));
}

TEST_F(SaveArchiveTest, ReadOnlyArchiveSavesToAnotherPath) {
  const ArchiveFixture fixture = ArchiveFixture::Jersey("old0001");
  const QString current = Write(fixture.Build());
  ASSERT_TRUE(
      QFile::setPermissions(current, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  const QString outDir = dir.filePath("out");
  ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
  // Root could open the archive for writing anyway: save as an ordinary user.
  ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ExeOwner | QFile::ReadOther |
                                                    QFile::ExeOther));
  ASSERT_TRUE(QFile::setPermissions(outDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::WriteOther |
                                                QFile::ExeOther));
  Prepare(current, "", "new0001", outDir + "/saved.big");

  const std::string outcome = SaveInChild(window, [] {
    if (::geteuid() != 0) return true;
    return ::setgid(65534) == 0 && ::setuid(65534) == 0 && ::geteuid() == 65534;
  });
  EXPECT_EQ(outcome, "saved");
  if (::geteuid() == 0) {
    EXPECT_EQ(QFileInfo(outDir + "/saved.big").ownerId(), 65534u);
  }
  EXPECT_EQ(ReadFile(outDir + "/saved.big"), WithIdentifier(fixture, "new0001", "new0001", 11));
  EXPECT_EQ(ReadFile(current), fixture.Build());
}

}  // namespace
