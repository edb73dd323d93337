// Files that are not regular files where a command reads or writes one: a
// named pipe, a folder, a socket, a device. Each is refused at once, before a
// byte is read or written, and stays what it was; none can make a command
// wait. Load tells of it as of any file it cannot read; the other commands
// name the file and what it is. A symbolic link to a regular file is followed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/recording_window.h"
#include "ui/command_routines.h"

namespace {

enum class Node { Fifo, Folder, Socket, CharacterDevice };
enum class Command { Load, Save, Import, Export };
// Which of the command's files is the special one.
enum class Role { Archive, ImportFile, Target };

struct SpecialCase {
  const char* name;
  Command command;
  Role role;
  Node node;
};
void PrintTo(const SpecialCase& c, std::ostream* os) { *os << c.name; }

// Opens the other end of a named pipe if a command is still waiting on it
// after a while, so that a command that blocks fails the test instead of
// hanging it.
class PipeUnblocker {
 public:
  explicit PipeUnblocker(const QString& path) : m_path(QFile::encodeName(path)) {
    m_thread = std::thread([this] {
      std::unique_lock lock(m_mutex);
      if (m_done.wait_for(lock, std::chrono::seconds(3), [this] { return m_finished; })) return;
      const int fd = ::open(m_path.constData(), O_RDWR | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
    });
  }
  ~PipeUnblocker() {
    {
      std::lock_guard lock(m_mutex);
      m_finished = true;
    }
    m_done.notify_one();
    m_thread.join();
  }

 private:
  QByteArray m_path;
  std::mutex m_mutex;
  std::condition_variable m_done;
  bool m_finished = false;
  std::thread m_thread;
};

class SpecialFiles : public ::testing::TestWithParam<SpecialCase> {
 protected:
  // Makes the node at path; false (and a skip) where this process may not.
  bool make(Node node, const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    switch (node) {
      case Node::Fifo:
        return ::mkfifo(name.constData(), 0644) == 0;
      case Node::Folder:
        return QDir().mkdir(path);
      case Node::Socket: {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
        std::copy(name.begin(), name.end(), address.sun_path);
        m_socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        return m_socket >= 0 &&
               ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
      }
      case Node::CharacterDevice:
        // The null device's numbers, under another name in the test's folder.
        return ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    }
    return false;
  }
  void TearDown() override {
    if (m_socket >= 0) ::close(m_socket);
  }

  static mode_t typeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
  }

  bool run(Command command) {
    switch (command) {
      case Command::Load:
        return ui::loadArchiveInto(window);
      case Command::Save:
        return ui::saveArchiveFrom(window);
      case Command::Import:
        return ui::importPortraitInto(window);
      case Command::Export:
        return ui::exportPortraitFrom(window);
    }
    return false;
  }

  QTemporaryDir dir;
  RecordingWindow window;
  int m_socket = -1;
};

const char* typeWords(Node node) {
  switch (node) {
    case Node::Fifo:
      return "a named pipe";
    case Node::Folder:
      return "a folder";
    case Node::Socket:
      return "a socket";
    case Node::CharacterDevice:
      return "a character device";
  }
  return "";
}

TEST_P(SpecialFiles, AreRefusedAtOnceAndStayAsTheyWere) {
  const SpecialCase& c = GetParam();
  ui::WindowState& state = window.state();
  state.archivePath = writeFile(dir.filePath("portrait.big"), ArchiveFixture().build());
  state.importPath = writeFile(dir.filePath("new.fsh"), fshImage(256, std::nullopt, 5));
  state.savePath = dir.filePath("saved.big");
  state.exportPath = dir.filePath("exported.fsh");
  window.text[0] = "new0001";
  QString* special = c.role == Role::Archive      ? &state.archivePath
                     : c.role == Role::ImportFile ? &state.importPath
                     : c.command == Command::Save ? &state.savePath
                                                  : &state.exportPath;
  *special = dir.filePath(QStringLiteral("special"));
  if (!make(c.node, *special)) GTEST_SKIP() << "cannot make " << typeWords(c.node) << " here";
  const mode_t type = typeOf(*special);
  const FileTree before = snapshotTree(dir.path());

  QElapsedTimer timer;
  timer.start();
  bool done = false;
  {
    PipeUnblocker unblocker(*special);
    done = run(c.command);
  }
  EXPECT_LT(timer.elapsed(), 1000) << "the command waited on the special file";

  EXPECT_FALSE(done);
  const QString text =
      c.command == Command::Load
          ? QStringLiteral("Unable to decode binary file.")
          : QStringLiteral("\u2068%1\u2069 is %2, not a regular file. Nothing was %3.")
                .arg(*special, typeWords(c.node),
                     c.command == Command::Save ? "saved" : "read or written");
  EXPECT_EQ(window.messages,
            std::vector<RecordedMessage>({{text, "Error", ui::MessageStyle::Plain}}));
  EXPECT_EQ(typeOf(*special), type);
  EXPECT_EQ(snapshotTree(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SpecialFiles,
    ::testing::Values(
        SpecialCase{"LoadPipe", Command::Load, Role::Archive, Node::Fifo},
        SpecialCase{"LoadFolder", Command::Load, Role::Archive, Node::Folder},
        SpecialCase{"LoadDevice", Command::Load, Role::Archive, Node::CharacterDevice},
        SpecialCase{"SaveFromPipe", Command::Save, Role::Archive, Node::Fifo},
        SpecialCase{"SaveOverPipe", Command::Save, Role::Target, Node::Fifo},
        SpecialCase{"SaveOverSocket", Command::Save, Role::Target, Node::Socket},
        SpecialCase{"ImportPipe", Command::Import, Role::ImportFile, Node::Fifo},
        SpecialCase{"ImportDevice", Command::Import, Role::ImportFile, Node::CharacterDevice},
        SpecialCase{"ImportFolder", Command::Import, Role::ImportFile, Node::Folder},
        SpecialCase{"ImportIntoPipe", Command::Import, Role::Archive, Node::Fifo},
        SpecialCase{"ExportFromPipe", Command::Export, Role::Archive, Node::Fifo},
        SpecialCase{"ExportOverPipe", Command::Export, Role::Target, Node::Fifo},
        SpecialCase{"ExportOverDevice", Command::Export, Role::Target, Node::CharacterDevice},
        SpecialCase{"ExportOverSocket", Command::Export, Role::Target, Node::Socket}),
    [](const auto& info) { return std::string(info.param.name); });

// A target named through a symbolic link is written where the link points;
// the link stays a link.
TEST(SymbolicLinks, ATargetLinkIsWrittenThrough) {
  QTemporaryDir dir;
  RecordingWindow window;
  const ArchiveFixture fixture;
  window.state().archivePath = writeFile(dir.filePath("portrait.big"), fixture.build());
  const QString real = writeFile(dir.filePath("real.fsh"), "old");
  ASSERT_TRUE(QFile::link(real, dir.filePath("link.fsh")));
  window.state().exportPath = dir.filePath("link.fsh");

  ASSERT_TRUE(ui::exportPortraitFrom(window));
  EXPECT_TRUE(window.messages.empty());
  EXPECT_TRUE(QFileInfo(dir.filePath("link.fsh")).isSymLink());
  EXPECT_EQ(readFile(real), fixture.build().mid(fixture.offsetOf(4), fixture.imageLength));
  EXPECT_EQ(entryNames(dir.path()), QStringList({"link.fsh", "portrait.big", "real.fsh"}));
}

TEST(SymbolicLinks, ALinkToAPipeIsRefused) {
  QTemporaryDir dir;
  RecordingWindow window;
  window.state().archivePath = writeFile(dir.filePath("portrait.big"), ArchiveFixture().build());
  const QString pipe = dir.filePath("pipe");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
  ASSERT_TRUE(QFile::link(pipe, dir.filePath("link.fsh")));
  window.state().exportPath = dir.filePath("link.fsh");

  {
    PipeUnblocker unblocker(pipe);
    EXPECT_FALSE(ui::exportPortraitFrom(window));
  }
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_TRUE(window.messages[0].text.contains("is a named pipe, not a regular file"))
      << window.messages[0].text.toStdString();
  EXPECT_TRUE(QFileInfo(dir.filePath("link.fsh")).isSymLink());
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

}  // namespace
