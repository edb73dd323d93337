// Save, Import and Export through their buttons while the file system fails
// them: the target's folder is gone, the target is a folder, the file-size
// limit cuts the write in the middle, the current archive was deleted or
// replaced after it was loaded, the import file vanished after the dialog.
// The user sees one message, and every file is as it was, with nothing left
// beside it.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/scripted_dialogs.h"

namespace {

enum class Command { Save, Import, Export };

enum class Fault {
  TargetFolderMissing,  // for Import, the archive's folder was moved away
  TargetIsFolder,       // for Import, the archive was replaced by a folder
  FileSizeLimit,
  FileSizeLimitOverArchive,
  ArchiveDeleted,
  ArchiveReplaced,  // by a file that is not a portrait archive
  ImportFileDeleted,
};

struct FaultCase {
  const char* name;
  Command command;
  Fault fault;
  // The refusal the user sees, "<dir>" standing for the test's folder; without
  // one, a runtime failure is reported.
  std::optional<RecordedMessage> refusal;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

// Large enough that the limit below falls in the middle of every write.
constexpr int32_t ImageLength = 256 * 1024;
constexpr rlim_t WriteLimit = 100 * 1024;

const RecordedMessage NotAValidFile{"This is not a valid file format.", "Invalid File",
                                    ui::MessageStyle::Plain};

// Lowers this process's file-size limit for the length of one command: a write
// past it fails with EFBIG instead of raising SIGXFSZ. Not in a forked child:
// a fork of the window's process can hang in Qt's painting thread pool, which
// the child does not inherit. The old limit is back before anything else runs.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &m_saved), 0);
    m_previous = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{std::min(bytes, m_saved.rlim_max), m_saved.rlim_max};
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ~FileSizeLimit() {
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &m_saved), 0);
    std::signal(SIGXFSZ, m_previous);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_saved{};
  void (*m_previous)(int) = SIG_DFL;
};

class FaultMatrix : public ::testing::TestWithParam<FaultCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir(dir.path()).mkpath("archives"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("out"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("in"));
    ArchiveFixture fixture = ArchiveFixture::playerPackage("old0001");
    fixture.imageLength = ImageLength;
    archivePath = write("archives/portrait.big", fixture.build());
    importPath = write("in/portrait.fsh", fshImage(ImageLength, std::nullopt, 9));

    ui.dialogs->nextFileName(archivePath);
    ui.click("loadButton");
    ASSERT_TRUE(ui.messages->messages.empty());
    QLineEdit* box = ui.control<QLineEdit>("playerPackageEdit");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "new0001");
  }

  QString write(const QString& name, const QByteArray& bytes) {
    return writeFile(dir.filePath(name), bytes);
  }

  // The file the dialog answers with; a Save or Export target is laid out here.
  QString dialogAnswer(const FaultCase& c) {
    if (c.command == Command::Import) return importPath;
    const char* extension = c.command == Command::Save ? ".big" : ".fsh";
    switch (c.fault) {
      case Fault::TargetFolderMissing:
        return dir.filePath(QStringLiteral("missing/target") + extension);
      case Fault::TargetIsFolder: {
        const QString folder = dir.filePath(QStringLiteral("out/target") + extension);
        EXPECT_TRUE(QDir().mkpath(folder));
        write(QStringLiteral("out/target%1/keep.txt").arg(extension), "kept");
        return folder;
      }
      case Fault::FileSizeLimitOverArchive:
        return archivePath;
      default:
        return write(QStringLiteral("out/target") + extension, QByteArray(1000, 'o'));
    }
  }

  // What happens to the disk after Load and before the command.
  void layOut(Fault fault) {
    switch (fault) {
      case Fault::ArchiveDeleted:
        ASSERT_TRUE(QFile::remove(archivePath));
        break;
      case Fault::ArchiveReplaced:
        writeFile(archivePath,
                  QByteArray("These are my notes, not a portrait archive.\n").repeated(40));
        break;
      default:
        break;
    }
  }
  void layOutImportTarget(Fault fault) {
    if (fault == Fault::TargetFolderMissing) {
      ASSERT_TRUE(QDir(dir.path()).rename("archives", "moved"));
    }
    if (fault == Fault::TargetIsFolder) {
      ASSERT_TRUE(QFile::remove(archivePath));
      ASSERT_TRUE(QDir().mkpath(archivePath));
      write("archives/portrait.big/keep.txt", "kept");
    }
  }

  void answer(const FaultCase& c, const QString& answer) {
    if (c.fault == Fault::ImportFileDeleted)
      ui.dialogs->nextFileName(answer, [this] { ASSERT_TRUE(QFile::remove(importPath)); });
    else
      ui.dialogs->nextFileName(answer);
  }

  static const char* button(Command command) {
    return command == Command::Save     ? "saveButton"
           : command == Command::Import ? "importButton"
                                        : "exportButton";
  }

  QTemporaryDir dir;
  WindowUnderTest ui;
  QString archivePath;
  QString importPath;
};

TEST_P(FaultMatrix, ShowsOneMessageAndLeavesEveryFileAsItWas) {
  const FaultCase& c = GetParam();
  const QString chosen = dialogAnswer(c);
  layOut(c.fault);
  if (c.command == Command::Import) layOutImportTarget(c.fault);
  auto before = snapshotTree(dir.path());
  if (c.fault == Fault::ImportFileDeleted) before.remove("in/portrait.fsh");
  const QStringList window = ui.shownArchive();

  const bool limited =
      c.fault == Fault::FileSizeLimit || c.fault == Fault::FileSizeLimitOverArchive;
  answer(c, chosen);
  {
    std::optional<FileSizeLimit> limit;
    if (limited) limit.emplace(WriteLimit);
    ui.click(button(c.command));
  }

  EXPECT_EQ(ui.window->state().archivePath, archivePath) << "the current archive stays current";
  const std::vector<RecordedMessage>& messages = ui.messages->messages;

  ASSERT_EQ(messages.size(), 1u);
  const RecordedMessage& message = messages[0];
  if (c.refusal) {
    RecordedMessage expected = *c.refusal;
    expected.text.replace("<dir>", dir.path());
    EXPECT_EQ(message, expected);
  } else {
    EXPECT_EQ(message.caption, "Courtside Portraits Editor v1.1");
    EXPECT_EQ(message.style, ui::MessageStyle::Critical);
    EXPECT_TRUE(
        message.text.contains(QRegularExpression(R"(^ERROR: \S.*\. \[Error #[1-9][0-9]*\]$)")))
        << message.text.toStdString();
  }
  // The limit was reached: the write stopped in the middle, past its first bytes.
  if (limited) {
    EXPECT_EQ(message.text, QStringLiteral("ERROR: %1. [Error #%2]")
                                .arg(QString::fromLocal8Bit(std::strerror(EFBIG)))
                                .arg(EFBIG));
  }
  EXPECT_EQ(snapshotTree(dir.path()), before);
  EXPECT_EQ(ui.shownArchive(), window);
}

RecordedMessage saveRefusal(const char* reason) {
  return {QStringLiteral("The current archive \u2068portrait.big\u2069 is no longer a valid "
                         "portrait archive: %1. Nothing was saved.")
              .arg(reason),
          "Invalid File", ui::MessageStyle::Plain};
}

// A folder where a file is read or written is refused before anything happens.
RecordedMessage folderRefusal(const char* name, const char* nothingWas) {
  return {QStringLiteral("\u2068<dir>/%1\u2069 is a folder, not a regular file. Nothing was %2.")
              .arg(name, nothingWas),
          "Error", ui::MessageStyle::Plain};
}

INSTANTIATE_TEST_SUITE_P(
    WritingCommands, FaultMatrix,
    ::testing::Values(
        FaultCase{"SaveTargetFolderMissing", Command::Save, Fault::TargetFolderMissing, {}},
        FaultCase{"SaveTargetIsFolder", Command::Save, Fault::TargetIsFolder,
                  folderRefusal("out/target.big", "saved")},
        FaultCase{"SaveFileSizeLimit", Command::Save, Fault::FileSizeLimit, {}},
        FaultCase{
            "SaveOverArchiveFileSizeLimit", Command::Save, Fault::FileSizeLimitOverArchive, {}},
        FaultCase{"SaveArchiveDeleted", Command::Save, Fault::ArchiveDeleted, {}},
        FaultCase{"SaveArchiveReplaced", Command::Save, Fault::ArchiveReplaced,
                  saveRefusal("its size field does not match its length")},
        FaultCase{"ImportArchiveFolderMissing", Command::Import, Fault::TargetFolderMissing, {}},
        FaultCase{"ImportArchiveIsFolder", Command::Import, Fault::TargetIsFolder,
                  folderRefusal("archives/portrait.big", "read or written")},
        FaultCase{"ImportFileSizeLimit", Command::Import, Fault::FileSizeLimit, {}},
        FaultCase{"ImportArchiveDeleted", Command::Import, Fault::ArchiveDeleted, {}},
        FaultCase{"ImportArchiveReplaced", Command::Import, Fault::ArchiveReplaced, NotAValidFile},
        FaultCase{"ImportFileDeletedAfterDialog", Command::Import, Fault::ImportFileDeleted, {}},
        FaultCase{"ExportTargetFolderMissing", Command::Export, Fault::TargetFolderMissing, {}},
        FaultCase{"ExportTargetIsFolder", Command::Export, Fault::TargetIsFolder,
                  folderRefusal("out/target.fsh", "read or written")},
        FaultCase{"ExportFileSizeLimit", Command::Export, Fault::FileSizeLimit, {}},
        FaultCase{"ExportArchiveDeleted", Command::Export, Fault::ArchiveDeleted, {}},
        FaultCase{"ExportArchiveReplaced", Command::Export, Fault::ArchiveReplaced, NotAValidFile}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
