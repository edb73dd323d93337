#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <functional>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/recording_window.h"
#include "ui/application_title.h"
#include "ui/command_routines.h"

namespace {

class SaveArchiveTest : public ::testing::Test {
 protected:
  QString write(const QByteArray& bytes, const QString& name = "current.big") {
    return writeFile(dir.filePath(name), bytes);
  }
  // The state a successful load and the user's typing leave.
  void prepare(const QString& archive, const QString& playerPackageText,
               const QString& jerseyNameText, const QString& target) {
    window.state().archivePath = archive;
    window.state().savePath = target;
    window.text[0] = playerPackageText;
    window.text[1] = jerseyNameText;
  }
  QStringList entries() const { return entryNames(dir.path()); }

  QTemporaryDir dir;
  RecordingWindow window;
};

struct SavedCase {
  const char* name;
  ArchiveFixture source;
  QString playerPackageText;
  QString jerseyNameText;
  QByteArray directoryId;
  QByteArray dataId;
  int copies;
};

void PrintTo(const SavedCase& c, std::ostream* os) { *os << c.name; }

class SavedIdentifier : public SaveArchiveTest, public ::testing::WithParamInterface<SavedCase> {};

TEST_P(SavedIdentifier, IsWrittenIntoDirectoryAndNameTableOnly) {
  const SavedCase& c = GetParam();
  const QString source = write(c.source.build());
  // A longer file at the target must not leave its tail behind.
  const QString target = write(QByteArray(10000, 'o'), "target.big");
  prepare(source, c.playerPackageText, c.jerseyNameText, target);

  ASSERT_TRUE(ui::saveArchiveFrom(window));
  EXPECT_EQ(readFile(target), c.source.buildSavedAs(c.directoryId, c.dataId, c.copies));
  EXPECT_EQ(readFile(target).mid(86, 7), c.directoryId);
  EXPECT_EQ(readFile(target).mid(c.source.lastIdentifierCopy(), 7), c.dataId);
  EXPECT_EQ(readFile(source), c.source.build());
  EXPECT_EQ(entries(), QStringList({"current.big", "target.big"}));

  // The saved file is now the current archive, and nothing else in the window changed.
  EXPECT_EQ(window.state().archivePath, target);
  EXPECT_EQ(window.state().savePath, target);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_TRUE(window.calls.isEmpty()) << window.calls.join("; ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SavedIdentifier,
    ::testing::Values(
        SavedCase{"PlayerPackageUpperCaseDirectory", ArchiveFixture::playerPackage("old0001"),
                  "Ab12Cd3", "", "AB12CD3", "ab12cd3", 1},
        SavedCase{"JerseyLowerCaseEverywhere", ArchiveFixture::jersey("old0001"), "", "Ab12Cd3",
                  "ab12cd3", "ab12cd3", 11},
        // The player package's box is looked at first.
        SavedCase{"BothBoxesSaveAsPlayerPackage", ArchiveFixture::playerPackage("old0001"),
                  "Ab12Cd3", "zz99zz9", "AB12CD3", "ab12cd3", 1},
        // Letters whose other case is not Latin-1 (y diaeresis, micro sign, sharp s) stay.
        SavedCase{"Latin1Letters", ArchiveFixture::playerPackage("old0001"),
                  QString::fromUtf8("Éa1ÿµßz"), "",
                  QByteArray("\xC9"
                             "A1\xFF\xB5\xDF"
                             "Z"),
                  QByteArray("\xE9"
                             "a1\xFF\xB5\xDF"
                             "z"),
                  1},
        // An accent typed as a combining mark is one character, stored as one byte.
        SavedCase{"CombiningAccentIsComposed", ArchiveFixture::jersey("old0001"), "",
                  QString::fromUtf8("abcde\u0301fg"),
                  QByteArray("abcd\xE9"
                             "fg"),
                  QByteArray("abcd\xE9"
                             "fg"),
                  11}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveArchiveTest, SavingOverTheCurrentFileChangesOnlyTheIdentifierBytes) {
  ArchiveFixture fixture = ArchiveFixture::jersey("old0001");
  fixture.trailingBytes = 333;
  const QByteArray before = fixture.build();
  const QString path = write(before);
  prepare(path, "", "New7777", path);

  ASSERT_TRUE(ui::saveArchiveFrom(window));
  const QByteArray after = readFile(path);
  ASSERT_EQ(after.size(), before.size());
  QList<int> changed;
  for (int i = 0; i < before.size(); ++i)
    if (before[i] != after[i]) changed << i;
  QList<int> expected;
  for (const int at : {24, 44, 66, 86})
    for (int i = 0; i < 7; ++i) expected << at + i;
  for (int copy = 10; copy >= 0; --copy)
    for (int i = 0; i < 7; ++i) expected << fixture.lastIdentifierCopy() - 10 * copy + i;
  EXPECT_EQ(changed, expected);
  EXPECT_EQ(after.count("new7777"), 15);
  EXPECT_EQ(entries(), QStringList{"current.big"});
}

// A refused save tells the user why and neither creates nor touches the target.
struct RefusedCase {
  const char* name;
  std::function<QByteArray()> archive;
  QString playerPackageText;
  QString jerseyNameText;
  QString caption;
  QString text;  // the whole text, or a part of it for the longer ones
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class RefusedSave : public SaveArchiveTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedSave, WritesNothing) {
  const RefusedCase& c = GetParam();
  const QByteArray source = c.archive();
  const QString current = write(source);
  const QString existing = write(QByteArray(300, 'o'), "existing.big");
  // An old time stamp, so that any write would show.
  const utimbuf old{1000000000, 1000000000};
  ASSERT_EQ(::utime(QFile::encodeName(existing).constData(), &old), 0);
  const auto existingBefore = snapshotFile(existing);
  const auto currentBefore = snapshotFile(current);

  for (const QString& target : {dir.filePath("new.big"), existing, current}) {
    SCOPED_TRACE(target.toStdString());
    window.messages.clear();
    prepare(current, c.playerPackageText, c.jerseyNameText, target);
    EXPECT_FALSE(ui::saveArchiveFrom(window));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].caption, c.caption);
    EXPECT_TRUE(window.messages[0].text.contains(c.text)) << window.messages[0].text.toStdString();
    EXPECT_EQ(window.messages[0].style, ui::MessageStyle::Plain);
    EXPECT_EQ(window.state().archivePath, current);
  }
  EXPECT_EQ(entries(), QStringList({"current.big", "existing.big"}));
  EXPECT_EQ(snapshotFile(existing), existingBefore);
  EXPECT_EQ(snapshotFile(current), currentBefore);
}

std::function<QByteArray()> built(ArchiveFixture fixture) {
  return [fixture] { return fixture.build(); };
}
std::function<QByteArray()> with(std::function<void(ArchiveFixture&)> change) {
  return [change] {
    ArchiveFixture fixture;
    change(fixture);
    return fixture.build();
  };
}

const QString OnlySeven = "Only 7 characters are allowed. No more no less";
const QString OneByte = "stores each character of the identifier in one byte";
QString controlCharacter(const char* code) {
  return QStringLiteral("The identifier holds the control character %1, which cannot be saved.")
      .arg(code);
}

INSTANTIATE_TEST_SUITE_P(
    Identifier, RefusedSave,
    ::testing::Values(
        RefusedCase{"NoIdentifier", built(ArchiveFixture()), "", "", "Error", "unknown file type"},
        RefusedCase{"SixCharacters", built(ArchiveFixture()), "ab12cd", "", "Error", OnlySeven},
        RefusedCase{"EightCharacters", built(ArchiveFixture::jersey()), "", "ab12cd34", "Error",
                    OnlySeven},
        // A combining mark without a composed form: 7 characters, 8 code points,
        // which would take 8 bytes.
        RefusedCase{"UncomposableAccent", built(ArchiveFixture()),
                    QString::fromUtf8("ab12cdq\u0301"), "", "Error", OnlySeven},
        RefusedCase{"OutsideLatin1", built(ArchiveFixture()), QString::fromUtf8("ab12cdĀ"), "",
                    "Error", OneByte},
        // Outside the basic plane: one character in two UTF-16 units.
        RefusedCase{"SurrogatePair", built(ArchiveFixture()), QString::fromUtf8("ab12cd😀"), "",
                    "Error", OneByte},
        RefusedCase{"SurrogatePairMakesEight", built(ArchiveFixture()),
                    QString::fromUtf8("ab12cd3😀"), "", "Error", OnlySeven},
        // Controls are named by their code, whatever the length.
        RefusedCase{"Tab", built(ArchiveFixture()), "ab\tcd12", "", "Error",
                    controlCharacter("U+0009")},
        RefusedCase{"LineFeed", built(ArchiveFixture::jersey()), "", "abcdef\n", "Error",
                    controlCharacter("U+000A")},
        RefusedCase{"Nul", built(ArchiveFixture()), QString::fromUtf8("abc\0def", 7), "", "Error",
                    controlCharacter("U+0000")},
        RefusedCase{"Delete", built(ArchiveFixture()),
                    "abc\x7f"
                    "def",
                    "", "Error", controlCharacter("U+007F")},
        RefusedCase{"NextLine", built(ArchiveFixture()), QString::fromUtf8("abc\u0085def"), "",
                    "Error", controlCharacter("U+0085")},
        RefusedCase{"ControlInALongText", built(ArchiveFixture()), "abcdefghij\r", "", "Error",
                    controlCharacter("U+000D")}),
    [](const auto& info) { return std::string(info.param.name); });

// The archive on disk no longer passes Load's checks (changed or replaced since
// it was loaded), or patching it would write outside its name table.
INSTANTIATE_TEST_SUITE_P(
    ChangedArchive, RefusedSave,
    ::testing::Values(
        RefusedCase{"GrewOnDisk", [] { return ArchiveFixture().build() + "tail"; }, "ab12cd3", "",
                    "Invalid File",
                    "current.big\u2069 is no longer a valid portrait archive: its size"},
        RefusedCase{"NotAPortrait", with([](ArchiveFixture& f) { f.headerLengthRaw = 0x5D000000; }),
                    "ab12cd3", "", "Invalid File", "its header"},
        RefusedCase{"OtherHeaderLength",
                    with([](ArchiveFixture& f) { f.headerLengthRaw = 0x00000062; }), "ab12cd3", "",
                    "Invalid File", "its header"},
        RefusedCase{"UnknownMarker", with([](ArchiveFixture& f) { f.marker = 0x19; }), "ab12cd3",
                    "", "Invalid File", "its kind marker"},
        RefusedCase{"EmptyFile", [] { return QByteArray(); }, "ab12cd3", "", "Invalid File",
                    "points outside the file"},
        RefusedCase{"MarkerPastEnd",
                    with([](ArchiveFixture& f) { f.memberOffsets[0] = f.length() - 12; }),
                    "ab12cd3", "", "Invalid File", "points outside the file"},
        RefusedCase{"NameTableEndOverflows",
                    [] {
                      ArchiveFixture f;
                      QByteArray bytes = f.build();
                      putWord(bytes, f.offsetOf(3) + 8, INT32_MAX - 100);
                      return bytes;
                    },
                    "ab12cd3", "", "Invalid File", "points outside the file"},
        // L = 115: the first of the eleven jersey copies would overwrite L itself.
        RefusedCase{"JerseyCopiesBeforeTheNameTable",
                    [] {
                      ArchiveFixture f = ArchiveFixture::jersey();
                      QByteArray bytes = f.build();
                      putWord(bytes, f.offsetOf(3) + 8, 115);
                      return bytes;
                    },
                    "", "ab12cd3", "Invalid File", "name table would reach outside the file"},
        // Member 3 said to start at offset 0: its L is the member-count field, and
        // the copy at P = 30 would overwrite the directory.
        RefusedCase{"NameTableOverTheDirectory", with([](ArchiveFixture& f) {
                      f.memberOffsets[2] = 0;
                      f.memberCount = 40;
                    }),
                    "ab12cd3", "", "Invalid File", "over the archive's directory"},
        // Member 1 said to start at 12: its marker is the first byte of entry 1's name.
        RefusedCase{"MarkerInADirectoryName", with([](ArchiveFixture& f) {
                      f.memberOffsets[0] = 12;
                      f.directoryId = QByteArray(
                          "\x18"
                          "B12CD3");
                    }),
                    "ab12cd3", "", "Invalid File", "tell the archive's kind"},
        // Member 1 overlapping member 3: its marker is the identifier's first byte.
        RefusedCase{"MarkerUnderTheIdentifier", with([](ArchiveFixture& f) {
                      f.nameTableId = QByteArray(
                          "\x18"
                          "b12cd3");
                      f.memberOffsets[0] = f.lastIdentifierCopy() - 12;
                    }),
                    "ab12cd3", "", "Invalid File", "tell the archive's kind"},
        // Member 3 said to start at 16: its L is read from entry 1's name, 124.
        RefusedCase{"NameTableEndInADirectoryName", with([](ArchiveFixture& f) {
                      f.memberOffsets[2] = 16;
                      f.directoryId = QByteArray("\x7c\0\0\0xyz", 7);
                    }),
                    "ab12cd3", "", "Invalid File", "where its name table ends"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveArchiveTest, JerseyCopiesMayFillTheWholeNameTable) {
  // L = 122: the first of the eleven copies starts right after the table's 12-byte start.
  ArchiveFixture fixture = ArchiveFixture::jersey("old0001");
  fixture.nameTableEnd = 122;
  const QString path = write(fixture.build());
  prepare(path, "", "new0001", dir.filePath("saved.big"));
  ASSERT_TRUE(ui::saveArchiveFrom(window));
  EXPECT_EQ(readFile(dir.filePath("saved.big")), fixture.buildSavedAs("new0001", "new0001", 11));
}

// The number a critical report gives, or -1 for any other message.
int reportedNumber(const RecordedMessage& message) {
  const QRegularExpressionMatch match =
      QRegularExpression(R"(^ERROR: \S.*\. \[Error #([1-9][0-9]*)\]$)").match(message.text);
  if (message.style != ui::MessageStyle::Critical || message.caption != ui::applicationTitle() ||
      !match.hasMatch())
    return -1;
  return match.captured(1).toInt();
}

// Runtime failures are the critical report with the system's number; the
// target stays as it was.
TEST_F(SaveArchiveTest, UnwritableTargetsAreReportedAndLeaveEverythingAsItWas) {
  const QString current = write(ArchiveFixture::playerPackage().build());
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  const std::pair<QString, int> targets[] = {{dir.filePath("missing/target.big"), ENOENT},
                                             {{}, ENOENT}};
  for (const auto& [target, number] : targets) {
    SCOPED_TRACE(target.toStdString());
    window.messages.clear();
    prepare(current, "new0001", "", target);
    EXPECT_FALSE(ui::saveArchiveFrom(window));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(reportedNumber(window.messages[0]), number) << window.messages[0].text.toStdString();
    EXPECT_EQ(window.state().archivePath, current);
  }
  EXPECT_EQ(entries(), QStringList({"current.big", "folder"}));
  EXPECT_TRUE(QDir(dir.filePath("folder")).isEmpty());
}

TEST_F(SaveArchiveTest, MissingCurrentArchiveIsReported) {
  prepare(dir.filePath("gone.big"), "new0001", "", dir.filePath("target.big"));
  EXPECT_FALSE(ui::saveArchiveFrom(window));
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, "ERROR: No such file or directory. [Error #2]");
  EXPECT_TRUE(entries().isEmpty());
}

// Runs SaveArchive in a child process after prepare() and tells how it ended:
// "saved", "refused", "error <number>" or what went wrong before.
std::string saveInChild(RecordingWindow& window, const std::function<bool()>& prepare) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    std::string outcome = "prepare failed";
    if (prepare()) {
      outcome = ui::saveArchiveFrom(window) ? "saved" : "refused";
      if (window.messages.size() == 1 && reportedNumber(window.messages[0]) > 0)
        outcome = "error " + std::to_string(reportedNumber(window.messages[0]));
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
  fixture.trailingBytes = 8000;
  const QString current = write(fixture.build());
  const QString target = write(QByteArray(600, 'o'), "target.big");
  const auto before = snapshotFile(target);
  prepare(current, "new0001", "", target);

  const std::string outcome = saveInChild(window, [] {
    const rlimit limit{4096, 4096};
    return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  });
  EXPECT_EQ(outcome.rfind("error ", 0), 0u) << outcome;
  EXPECT_EQ(snapshotFile(target), before);
  EXPECT_EQ(entries(), QStringList({"current.big", "target.big"}));
}

TEST_F(SaveArchiveTest, ReadOnlyArchiveSavesToAnotherPath) {
  const ArchiveFixture fixture = ArchiveFixture::jersey("old0001");
  const QString current = write(fixture.build());
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
  prepare(current, "", "new0001", outDir + "/saved.big");

  const std::string outcome = saveInChild(window, [] {
    if (::geteuid() != 0) return true;
    return ::setgid(65534) == 0 && ::setuid(65534) == 0 && ::geteuid() == 65534;
  });
  EXPECT_EQ(outcome, "saved");
  if (::geteuid() == 0) {
    EXPECT_EQ(QFileInfo(outDir + "/saved.big").ownerId(), 65534u);
  }
  EXPECT_EQ(readFile(outDir + "/saved.big"), fixture.buildSavedAs("new0001", "new0001", 11));
  EXPECT_EQ(readFile(current), fixture.build());
}

}  // namespace
