#pragma once

#include <sys/stat.h>

#include <QString>
#include <optional>

#include "common/expected.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"

namespace fileio {

// Which file an open file or a path is, however it was named: two names of
// one file (a hard link, a symbolic link, "a/../b") have the same identity.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;

  static FileIdentity of(const struct stat& info) { return {info.st_dev, info.st_ino}; }
};

// An open regular file and what the system said of it when it was opened.
struct RegularFile {
  FileHandle handle;
  struct stat info {};
};

// Opens path for reading (O_RDONLY) or writing (O_WRONLY) without ever
// blocking, and refuses anything but a regular file (a named pipe, socket,
// device or folder) with NotRegularFile before a byte is read or written. The
// opened file itself is checked, so a swap between a look at the name and the
// open cannot slip a pipe in.
Expected<RegularFile, FileError> openRegularFile(const QString& path, int accessMode);

// The identity of the file at path, following symbolic links; nothing where
// there is no such file.
std::optional<FileIdentity> identityOf(const QString& path);

}  // namespace fileio
