#include "fileio/file_replacement.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <utility>

#include "fileio/file_metadata.h"
#include "fileio/file_reader.h"

namespace fileio {

namespace {

using Result = Expected<void, FileError>;

// The file a chain of symbolic links ends at, or path itself. A link to a
// file that does not exist yet names where it is to be created.
QString followLinks(const QString& path) {
  QFileInfo info(path);
  for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
  return info.absoluteFilePath();
}

QByteArray randomSuffix() {
  static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QByteArray suffix;
  for (int i = 0; i < 8; ++i)
    suffix += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
  return suffix;
}

// At most length bytes of a UTF-8 name, never half a character.
QByteArray cutAtCharacter(const QByteArray& name, qsizetype length) {
  if (name.size() <= length) return name;
  while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  return name.left(length);
}

int openFolder(const QByteArray& path) {
  return ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// A file without a name in the folder, which disappears with its descriptor;
// -1 with errno set where none can be made.
int openUnnamed(int folder) {
  const int fd = ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QByteArray name = ".courtside-" + randomSuffix();
    const int named =
        ::openat(folder, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (named >= 0) {
      ::unlinkat(folder, name.constData(), 0);
      return named;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

Result FileReplacement::locate(const QString& path) {
  m_path = path;
  if (path.isEmpty()) return Unexpected(FileError::system(ENOENT, path));
  const QFileInfo target(followLinks(path));
  m_folderPath = target.absolutePath();
  m_name = QFile::encodeName(target.fileName());
  m_folder = FileHandle(openFolder(QFile::encodeName(m_folderPath)));
  if (!m_folder.isOpen()) return Unexpected(FileError::system(errno, path));
  if (::fstatat(m_folder.get(), m_name.constData(), &m_old, 0) == 0) {
    // A rename would put a regular file in place of a pipe or device.
    if (!S_ISREG(m_old.st_mode)) return Unexpected(FileError::notRegularFile(path, m_old.st_mode));
    m_existed = true;
    // A file this user may not write stays as it is, even where its folder
    // would let it be replaced.
    if (::faccessat(m_folder.get(), m_name.constData(), W_OK, AT_EACCESS) != 0)
      return Unexpected(FileError::system(FileError::Kind::FileNotWritable, errno, path));
  } else if (errno != ENOENT) {
    return Unexpected(FileError::system(errno, path));
  }
  return {};
}

FileError FileReplacement::folderError(int errorNumber) const {
  if (errorNumber == EACCES || errorNumber == EPERM || errorNumber == EROFS)
    return FileError::system(FileError::Kind::FolderNotWritable, errorNumber, m_folderPath);
  return FileError::system(errorNumber, m_path);
}

Expected<FileReplacement, FileError> FileReplacement::prepare(
    const QString& path, const std::vector<ContentPiece>& pieces) {
  FileReplacement replacement;
  if (auto located = replacement.locate(path); !located) return Unexpected(located.error());

  if (replacement.m_existed && replacement.m_old.st_nlink > 1) {
    replacement.m_method = Method::InPlace;
  } else if (auto beside = replacement.createBeside(); !beside) {
    const FileError& error = beside.error();
    const bool folderRefused = error.number == EACCES || error.number == EPERM;
    if (!(replacement.m_existed && folderRefused)) return Unexpected(error);
    replacement.m_method = Method::InPlace;
  }
  if (replacement.m_method == Method::InPlace) {
    if (auto target = replacement.openTarget(); !target) return Unexpected(target.error());
    if (auto aside = replacement.createAside(); !aside) return Unexpected(aside.error());
  }

  // Pieces in memory next to each other go out in one write: a save's
  // identifier copies and the bytes between them cost one system call, not ten.
  const int out = replacement.m_prepared.get();
  QByteArray gathered;
  qint64 gatheredAt = 0;
  const auto writeGathered = [&]() -> Result {
    if (gathered.isEmpty()) return {};
    auto written = writeBytes(out, path, gatheredAt, gathered);
    gathered.clear();
    return written;
  };
  qint64 at = 0;
  for (const ContentPiece& piece : pieces) {
    if (piece.isInMemory()) {
      if (gathered.isEmpty()) gatheredAt = at;
      gathered += piece.bytes();
    } else {
      if (auto written = writeGathered(); !written) return Unexpected(written.error());
      if (auto written = piece.writeTo(out, path, at); !written) return Unexpected(written.error());
    }
    at += piece.length();
  }
  if (auto written = writeGathered(); !written) return Unexpected(written.error());
  replacement.m_length = at;
  return replacement;
}

Expected<SpaceNeed, FileError> FileReplacement::check(const QString& path, qint64 length) {
  FileReplacement replacement;
  if (auto located = replacement.locate(path); !located) return Unexpected(located.error());
  const int folder = replacement.m_folder.get();
  bool inPlace = replacement.m_existed && replacement.m_old.st_nlink > 1;
  if (!inPlace && ::faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) != 0) {
    const int error = errno;
    if (!(replacement.m_existed && (error == EACCES || error == EPERM)))
      return Unexpected(replacement.folderError(error));
    inPlace = true;
  }
  struct stat folderInfo {};
  struct statvfs space {};
  if (::fstat(folder, &folderInfo) != 0 || ::fstatvfs(folder, &space) != 0)
    return Unexpected(FileError::system(errno, replacement.m_folderPath));
  // A new file takes its whole length until the old one goes; a write in
  // place only what it adds.
  const qint64 room = inPlace ? std::max<qint64>(length - replacement.m_old.st_size, 0) : length;
  const SpaceNeed need{path, inPlace ? replacement.m_old.st_dev : folderInfo.st_dev, room,
                       qint64(space.f_bavail) * qint64(space.f_frsize)};
  if (need.room > need.available) return Unexpected(FileError::system(ENOSPC, path));
  return need;
}

Result FileReplacement::createBeside() {
  // Hidden, named after the file so that one left by a crash is recognised,
  // and short enough to be a valid name wherever the file's own name is:
  // names are limited in bytes, so the cut is in bytes too.
  const QByteArray stem = "." + cutAtCharacter(m_name, 100) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QByteArray name = stem + randomSuffix();
    // Created as any new file is (the user's umask applies); an existing
    // file's mode is copied over on commit.
    const int fd =
        ::openat(m_folder.get(), name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      m_prepared = FileHandle(fd);
      m_preparedName = name;
      return {};
    }
    if (errno == EEXIST || errno == EINTR) continue;
    return Unexpected(folderError(errno));
  }
  return Unexpected(FileError::system(EEXIST, m_path));
}

Result FileReplacement::openTarget() {
  int fd = -1;
  do {
    fd = ::openat(m_folder.get(), m_name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    FileError error = FileError::system(errno, m_path);
    if (error.number == EACCES || error.number == EPERM)
      error.kind = FileError::Kind::FileNotWritable;
    return Unexpected(error);
  }
  m_target = FileHandle(fd);
  if (::fstat(fd, &m_old) != 0) return Unexpected(FileError::system(errno, m_path));
  // Swapped for something else since it was looked at.
  if (!S_ISREG(m_old.st_mode)) return Unexpected(FileError::notRegularFile(m_path, m_old.st_mode));
  return {};
}

Result FileReplacement::createAside() {
  // In the file's own folder where that may be written (the copy then stays
  // on one file system), else in the system's temporary folder.
  int fd = openUnnamed(m_folder.get());
  if (fd < 0) {
    const FileHandle temporary(openFolder(QFile::encodeName(QDir::tempPath())));
    fd = temporary.isOpen() ? openUnnamed(temporary.get()) : -1;
  }
  if (fd < 0) return Unexpected(FileError::system(errno, QDir::tempPath()));
  m_prepared = FileHandle(fd);
  return {};
}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept { *this = std::move(other); }

FileReplacement& FileReplacement::operator=(FileReplacement&& other) noexcept {
  if (this != &other) {
    discard();
    m_path = std::move(other.m_path);
    m_folderPath = std::move(other.m_folderPath);
    m_folder = std::move(other.m_folder);
    m_name = std::move(other.m_name);
    m_method = other.m_method;
    m_existed = other.m_existed;
    m_old = other.m_old;
    m_target = std::move(other.m_target);
    m_prepared = std::move(other.m_prepared);
    m_preparedName = std::exchange(other.m_preparedName, QByteArray());
    m_length = other.m_length;
  }
  return *this;
}

FileReplacement::~FileReplacement() { discard(); }

void FileReplacement::discard() {
  m_prepared.reset();
  m_target.reset();
  if (!m_preparedName.isEmpty()) ::unlinkat(m_folder.get(), m_preparedName.constData(), 0);
  m_preparedName.clear();
  m_folder.reset();
}

Expected<FileReader, FileError> FileReplacement::readPrepared() const {
  return FileReader::openDuplicate(m_prepared.get(), m_path);
}

Result FileReplacement::commit(Sync sync) {
  Q_ASSERT(m_prepared.isOpen());
  Result done = m_method == Method::Rename ? renameOver(sync) : writeInPlace();
  discard();
  return done;
}

Result FileReplacement::renameOver(Sync sync) {
  const int fd = m_prepared.get();
  if (m_existed) {
    // The file as the folder's descriptor reaches it, wherever the folder is now.
    const QByteArray location =
        "/proc/self/fd/" + QByteArray::number(m_folder.get()) + "/" + m_name;
    if (auto kept = copyFileMetadata(location, m_old, fd, m_path); !kept) return kept;
  }
  if (sync == Sync::File && ::fdatasync(fd) != 0)
    return Unexpected(FileError::system(errno, m_path));
  if (::renameat(m_folder.get(), m_preparedName.constData(), m_folder.get(), m_name.constData()) !=
      0) {
    // A sticky folder lets only the file's owner replace it, though others
    // may write it: the file is then written in place, as it is for a folder
    // that may not be written.
    const int error = errno;
    if (!m_existed || (error != EPERM && error != EACCES))
      return Unexpected(FileError::system(error, m_path));
    if (auto target = openTarget(); !target) return target;
    return writeInPlace();
  }
  m_preparedName.clear();
  return {};
}

Result FileReplacement::writeInPlace() {
  const int out = m_target.get();
  struct stat now {};
  if (::fstat(out, &now) != 0) return Unexpected(FileError::system(errno, m_path));
  const qint64 oldLength = now.st_size;
  if (m_length > oldLength) {
    // The room is taken first, so that a full disk or the file-size limit stop
    // the write before a byte of the file has changed.
    if (const int error = ::posix_fallocate(out, oldLength, m_length - oldLength); error != 0) {
      // Back to its old length; should even that fail, the file keeps its
      // old bytes followed by zeros.
      if (::ftruncate(out, oldLength) != 0) {
      }
      return Unexpected(FileError::system(error, m_path));
    }
  }
  if (auto copied = copyRange(m_prepared.get(), m_path, 0, out, m_path, 0, m_length); !copied)
    return copied;
  if (m_length < oldLength && ::ftruncate(out, m_length) != 0)
    return Unexpected(FileError::system(errno, m_path));
  if (::fdatasync(out) != 0) return Unexpected(FileError::system(errno, m_path));
  return {};
}

Result replaceFileContents(const QString& path, const std::vector<ContentPiece>& pieces) {
  auto replacement = FileReplacement::prepare(path, pieces);
  if (!replacement) return Unexpected(replacement.error());
  return replacement->commit();
}

Result replaceFileContents(const QString& path, QByteArrayView bytes) {
  return replaceFileContents(path, std::vector<ContentPiece>{bytes});
}

}  // namespace fileio
