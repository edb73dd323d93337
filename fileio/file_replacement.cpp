#include "fileio/file_replacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <utility>

#include "fileio/file_metadata.h"
#include "fileio/file_reader.h"
#include "fileio/regular_file.h"

namespace fileio {

namespace {

using Result = Expected<void, FileError>;

// Ranges up to this long are read into memory rather than copied by the kernel.
constexpr qint64 SmallRange = 4096;

Result writeBytes(int out, const QString& outPath, qint64 at, QByteArrayView bytes) {
  qint64 done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(out, bytes.data() + done, bytes.size() - done, at + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Unexpected(FileError::system(n < 0 ? errno : EIO, outPath));
    done += n;
  }
  return {};
}

// Through a buffer, where the kernel cannot copy between the two files itself.
Result copyThroughMemory(int in, const QString& inPath, qint64 from, int out,
                         const QString& outPath, qint64 at, qint64 length) {
  QByteArray buffer(std::min<qint64>(length, qint64{1} << 20), Qt::Uninitialized);
  while (length > 0) {
    const ssize_t n = ::pread(in, buffer.data(), std::min<qint64>(length, buffer.size()), from);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Unexpected(FileError::system(errno, inPath));
    // The source is shorter than when it was checked: it changed meanwhile.
    if (n == 0) return Unexpected(FileError::pastEndOfFile(inPath));
    if (auto written = writeBytes(out, outPath, at, QByteArrayView(buffer.constData(), n));
        !written)
      return written;
    from += n;
    at += n;
    length -= n;
  }
  return {};
}

Result copyRange(int in, const QString& inPath, qint64 from, int out, const QString& outPath,
                 qint64 at, qint64 length) {
  while (length > 0) {
    loff_t inOffset = from;
    loff_t outOffset = at;
    const ssize_t n = ::copy_file_range(in, &inOffset, out, &outOffset, length, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                  errno == EBADF))
      return copyThroughMemory(in, inPath, from, out, outPath, at, length);
    // Mostly the output's (a full disk, the file-size limit), though a failing
    // read of the source looks alike here.
    if (n < 0) return Unexpected(FileError::system(errno, outPath));
    if (n == 0) return Unexpected(FileError::pastEndOfFile(inPath));
    from += n;
    at += n;
    length -= n;
  }
  return {};
}

// The file a chain of symbolic links ends at, or path itself. A link to a
// file that does not exist yet names where it is to be created.
QString followLinks(const QString& path) {
  QFileInfo info(path);
  for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
  return info.absoluteFilePath();
}

QString randomSuffix() {
  static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QString suffix;
  for (int i = 0; i < 8; ++i)
    suffix += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))]);
  return suffix;
}

}  // namespace

Expected<ContentPiece, FileError> ContentPiece::range(const FileReader& source, qint64 offset,
                                                      qint64 length) {
  if (auto inside = source.requireInside(offset, length); !inside)
    return Unexpected(inside.error());
  ContentPiece piece;
  if (length <= SmallRange) {
    auto bytes = source.readAt(offset, length);
    if (!bytes) return Unexpected(bytes.error());
    piece.m_owned = std::move(*bytes);
    return piece;
  }
  piece.m_source = &source;
  piece.m_offset = offset;
  piece.m_length = length;
  return piece;
}

Result ContentPiece::writeTo(int out, const QString& outPath, qint64 at) const {
  if (m_source)
    return copyRange(m_source->handle(), m_source->path(), m_offset, out, outPath, at, m_length);
  return writeBytes(out, outPath, at, bytes());
}

Expected<FileReplacement, FileError> FileReplacement::prepare(
    const QString& path, const std::vector<ContentPiece>& pieces) {
  FileReplacement replacement;
  replacement.m_path = path;
  if (path.isEmpty()) return Unexpected(FileError::system(ENOENT, path));
  replacement.m_finalPath = followLinks(path);
  const QByteArray name = QFile::encodeName(replacement.m_finalPath);
  struct stat& old = replacement.m_old;
  if (::stat(name.constData(), &old) == 0) {
    // A rename would put a regular file in place of a pipe or device.
    if (!S_ISREG(old.st_mode)) return Unexpected(FileError::notRegularFile(path, old.st_mode));
    replacement.m_existed = true;
    // A file this user may not write stays as it is, even where its folder
    // would let it be replaced.
    if (::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0)
      return Unexpected(FileError::system(FileError::Kind::FileNotWritable, errno, path));
  } else if (errno != ENOENT) {
    return Unexpected(FileError::system(errno, path));
  }

  if (replacement.m_existed && old.st_nlink > 1) {
    replacement.m_method = Method::InPlace;
  } else if (auto beside = replacement.createBeside(); !beside) {
    const FileError& error = beside.error();
    const bool folderRefused = error.number == EACCES || error.number == EPERM;
    if (!(replacement.m_existed && folderRefused)) return Unexpected(error);
    replacement.m_method = Method::InPlace;
  }
  if (replacement.m_method == Method::InPlace) {
    auto target = openRegularFile(replacement.m_finalPath, O_WRONLY);
    if (!target) {
      FileError error = target.error();
      if (error.number == EACCES || error.number == EPERM)
        error.kind = FileError::Kind::FileNotWritable;
      error.path = path;
      return Unexpected(error);
    }
    replacement.m_target = std::move(target->handle);
    replacement.m_old = target->info;
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

Expected<void, FileError> FileReplacement::createBeside() {
  const QFileInfo target(m_finalPath);
  const QString folder = target.absolutePath();
  // Hidden, named after the file so that one left by a crash is recognised,
  // and short enough to be a valid name wherever the file's own name is.
  const QString stem =
      folder + QStringLiteral("/.") + target.fileName().left(100) + QLatin1Char('.');
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString name = stem + randomSuffix();
    // Created as any new file is (the user's umask applies); an existing
    // file's mode is copied over on commit.
    const int fd =
        ::open(QFile::encodeName(name).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      m_prepared = FileHandle(fd);
      m_preparedPath = name;
      return {};
    }
    if (errno == EEXIST || errno == EINTR) continue;
    if (errno == EACCES || errno == EPERM || errno == EROFS)
      return Unexpected(FileError::system(FileError::Kind::FolderNotWritable, errno, folder));
    return Unexpected(FileError::system(errno, m_path));
  }
  return Unexpected(FileError::system(EEXIST, m_path));
}

Expected<void, FileError> FileReplacement::createAside() {
  // A file without a name, which disappears with its descriptor: in the
  // file's own folder where that may be written (the copy then stays on one
  // file system), else in the system's temporary folder.
  const QString folders[] = {QFileInfo(m_finalPath).absolutePath(), QDir::tempPath()};
  int error = 0;
  for (const QString& folder : folders) {
    const QByteArray encoded = QFile::encodeName(folder);
    int fd = ::open(encoded.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
      QByteArray pattern = encoded + "/.courtside-XXXXXX";
      fd = ::mkostemp(pattern.data(), O_CLOEXEC);
      if (fd >= 0) ::unlink(pattern.constData());
    }
    if (fd >= 0) {
      m_prepared = FileHandle(fd);
      return {};
    }
    error = errno;
  }
  return Unexpected(FileError::system(error, QDir::tempPath()));
}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept { *this = std::move(other); }

FileReplacement& FileReplacement::operator=(FileReplacement&& other) noexcept {
  if (this != &other) {
    discard();
    m_path = std::move(other.m_path);
    m_finalPath = std::move(other.m_finalPath);
    m_method = other.m_method;
    m_existed = other.m_existed;
    m_old = other.m_old;
    m_target = std::move(other.m_target);
    m_prepared = std::move(other.m_prepared);
    m_preparedPath = std::exchange(other.m_preparedPath, QString());
    m_length = other.m_length;
  }
  return *this;
}

FileReplacement::~FileReplacement() { discard(); }

void FileReplacement::discard() {
  m_prepared.reset();
  m_target.reset();
  if (!m_preparedPath.isEmpty()) ::unlink(QFile::encodeName(m_preparedPath).constData());
  m_preparedPath.clear();
}

Expected<FileReader, FileError> FileReplacement::readPrepared() const {
  return FileReader::openDuplicate(m_prepared.get(), m_path);
}

Expected<void, FileError> FileReplacement::commit(Sync sync) {
  Q_ASSERT(m_prepared.isOpen());
  Result done = m_method == Method::Rename ? renameOver(sync) : writeInPlace();
  discard();
  return done;
}

Expected<void, FileError> FileReplacement::renameOver(Sync sync) {
  const int fd = m_prepared.get();
  if (m_existed) {
    if (auto kept = copyFileMetadata(m_finalPath, m_old, fd, m_path); !kept) return kept;
  }
  if (sync == Sync::File && ::fdatasync(fd) != 0)
    return Unexpected(FileError::system(errno, m_path));
  if (::rename(QFile::encodeName(m_preparedPath).constData(),
               QFile::encodeName(m_finalPath).constData()) != 0)
    return Unexpected(FileError::system(errno, m_path));
  m_preparedPath.clear();
  return {};
}

Expected<void, FileError> FileReplacement::writeInPlace() {
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
