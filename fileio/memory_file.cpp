#include "fileio/memory_file.h"

#include <sys/mman.h>

#include <cerrno>

#include "fileio/content_piece.h"

namespace fileio {

Expected<MemoryFile, FileError> MemoryFile::of(QByteArrayView bytes, const QString& name) {
  MemoryFile file;
  file.m_file = FileHandle(::memfd_create("courtside-planned", MFD_CLOEXEC));
  if (!file.m_file.isOpen()) return Unexpected(FileError::system(errno, name));
  if (auto written = writeBytes(file.handle(), name, 0, bytes); !written)
    return Unexpected(written.error());
  return file;
}

QString MemoryFile::path() const { return QStringLiteral("/proc/self/fd/%1").arg(handle()); }

}  // namespace fileio
