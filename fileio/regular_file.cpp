#include "fileio/regular_file.h"

#include <fcntl.h>

#include <QFile>
#include <cerrno>
#include <optional>

namespace fileio {

Expected<RegularFile, FileError> openRegularFile(const QString& path, int accessMode) {
  const QByteArray name = QFile::encodeName(path);
  RegularFile file;
  // Looked at before the open too: opening a device can have effects of its own.
  if (::stat(name.constData(), &file.info) == 0 && !S_ISREG(file.info.st_mode))
    return Unexpected(FileError::notRegularFile(path, file.info.st_mode));
  // A named pipe would block the open until another program opened its other
  // end; O_NONBLOCK lets the open return so that the check below refuses it.
  int fd = -1;
  do {
    fd = ::open(name.constData(), accessMode | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return Unexpected(FileError::system(errno, path));
  file.handle = FileHandle(fd);
  if (::fstat(fd, &file.info) != 0) return Unexpected(FileError::system(errno, path));
  if (!S_ISREG(file.info.st_mode))
    return Unexpected(FileError::notRegularFile(path, file.info.st_mode));
  // A regular file never blocks; the flag goes so that nothing later reads it otherwise.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
    return Unexpected(FileError::system(errno, path));
  return file;
}

std::optional<FileIdentity> identityOf(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return std::nullopt;
  return FileIdentity::of(info);
}

}  // namespace fileio
