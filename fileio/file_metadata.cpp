#include "fileio/file_metadata.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <QByteArray>
#include <QByteArrayList>
#include <cerrno>

namespace fileio {

namespace {

using Result = Expected<void, FileError>;

// What a process without the privilege to set something is told; the file
// then keeps what it was created with.
bool notPermitted(int errorNumber) {
  return errorNumber == EPERM || errorNumber == EACCES || errorNumber == EOPNOTSUPP;
}

// The list of names, or of one value: asked for its size first, and asked
// again if it grew in between.
template <typename Call>
Expected<QByteArray, int> readSized(Call call) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const ssize_t size = call(nullptr, 0);
    if (size < 0) return Unexpected(errno);
    QByteArray buffer(size, Qt::Uninitialized);
    const ssize_t got = call(buffer.data(), buffer.size());
    if (got >= 0) return buffer.left(got);
    if (errno != ERANGE) return Unexpected(errno);
  }
  return Unexpected(ERANGE);
}

Result copyAttributes(const QByteArray& path, int target, const QString& targetPath) {
  const auto names = readSized(
      [&path](char* buffer, size_t size) { return ::listxattr(path.constData(), buffer, size); });
  if (!names) {
    // A file system without extended attributes has none to keep.
    if (names.error() == ENOTSUP) return {};
    return Unexpected(FileError::system(names.error(), targetPath));
  }
  for (const QByteArray& name : names->split('\0')) {
    if (name.isEmpty()) continue;
    const auto value = readSized([&path, &name](char* buffer, size_t size) {
      return ::getxattr(path.constData(), name.constData(), buffer, size);
    });
    if (!value) {
      if (value.error() == ENODATA || notPermitted(value.error())) continue;  // gone or hidden
      return Unexpected(FileError::system(value.error(), targetPath));
    }
    if (::fsetxattr(target, name.constData(), value->constData(), value->size(), 0) != 0 &&
        !notPermitted(errno))
      return Unexpected(FileError::system(errno, targetPath));
  }
  return {};
}

}  // namespace

Result copyFileMetadata(const QByteArray& sourceLocation, const struct stat& source, int target,
                        const QString& targetPath) {
  // The owner first: changing it clears the set-user-ID and set-group-ID bits,
  // which the mode then puts back. A user may give a file only to a group of
  // their own, and to no other owner.
  if (::fchown(target, source.st_uid, source.st_gid) != 0) {
    if (errno != EPERM) return Unexpected(FileError::system(errno, targetPath));
    if (::fchown(target, static_cast<uid_t>(-1), source.st_gid) != 0 && errno != EPERM)
      return Unexpected(FileError::system(errno, targetPath));
  }
  if (::fchmod(target, source.st_mode & 07777) != 0 && errno != EPERM)
    return Unexpected(FileError::system(errno, targetPath));
  // Access control lists are attributes too; setting one also sets the mode
  // bits it stands for, which agree with the mode copied above.
  return copyAttributes(sourceLocation, target, targetPath);
}

}  // namespace fileio
