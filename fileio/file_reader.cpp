#include "fileio/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <utility>

namespace fileio {

Expected<FileReader, FileError> FileReader::open(const QString& path) {
  auto file = openRegularFile(path, O_RDONLY);
  if (!file) return Unexpected(file.error());
  return withHead(FileReader(std::move(file->handle), file->info, path));
}

Expected<FileReader, FileError> FileReader::openDuplicate(int fd, const QString& path) {
  FileHandle duplicate(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
  if (!duplicate.isOpen()) return Unexpected(FileError::system(errno, path));
  struct stat info {};
  if (::fstat(duplicate.get(), &info) != 0) return Unexpected(FileError::system(errno, path));
  return withHead(FileReader(std::move(duplicate), info, path));
}

Expected<FileReader, FileError> FileReader::withHead(FileReader reader) {
  reader.m_head.resize(std::min(reader.m_length, HeadSize));
  if (auto read = reader.readInto(reader.m_head.data(), 0, reader.m_head.size()); !read)
    return Unexpected(read.error());
  return reader;
}

FileReader::FileReader(FileHandle file, const struct stat& info, QString path)
    : m_file(std::move(file)),
      m_length(info.st_size),
      m_identity(FileIdentity::of(info)),
      m_path(std::move(path)) {}

Expected<void, FileError> FileReader::requireInside(qint64 offset, qint64 count) const {
  if (offset < 0) return Unexpected(FileError::positionBeforeStart(m_path));
  if (count < 0 || count > m_length || offset > m_length - count)
    return Unexpected(FileError::pastEndOfFile(m_path));
  return {};
}

Expected<void, FileError> FileReader::readInto(char* buffer, qint64 offset, qint64 count) const {
  qint64 done = 0;
  while (done < count) {
    const ssize_t n = ::pread(m_file.get(), buffer + done, count - done, offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Unexpected(FileError::system(errno, m_path));
    // The file is shorter than when it was opened: it changed meanwhile.
    if (n == 0) return Unexpected(FileError::pastEndOfFile(m_path));
    done += n;
  }
  return {};
}

Expected<QByteArray, FileError> FileReader::readAt(qint64 offset, qint64 count) const {
  if (auto inside = requireInside(offset, count); !inside) return Unexpected(inside.error());
  if (offset + count <= m_head.size()) return m_head.mid(offset, count);
  QByteArray bytes(count, Qt::Uninitialized);
  if (auto read = readInto(bytes.data(), offset, count); !read) return Unexpected(read.error());
  return bytes;
}

Expected<uint8_t, FileError> FileReader::readByteAt(qint64 offset) const {
  auto bytes = readAt(offset, 1);
  if (!bytes) return Unexpected(bytes.error());
  return static_cast<uint8_t>(bytes->at(0));
}

Expected<int32_t, FileError> FileReader::readWordAt(qint64 offset) const {
  return readWordInRecord(offset, 4, 0);
}

Expected<int32_t, FileError> FileReader::readWordInRecord(qint64 recordOffset, qint64 recordSize,
                                                          qint64 wordOffset) const {
  Q_ASSERT(wordOffset >= 0 && wordOffset + 4 <= recordSize);
  auto bytes = readAt(recordOffset, recordSize);
  if (!bytes) return Unexpected(bytes.error());
  return qFromLittleEndian<int32_t>(bytes->constData() + wordOffset);
}

}  // namespace fileio
