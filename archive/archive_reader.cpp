#include "archive/archive_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <utility>

Expected<ArchiveReader, ArchiveError> ArchiveReader::open(const QString& path) {
  auto file = openRegularFile(path, O_RDONLY);
  if (!file) return Unexpected(file.error());
  return withHead(ArchiveReader(std::move(file->handle), file->info));
}

Expected<ArchiveReader, ArchiveError> ArchiveReader::openDuplicate(int fd) {
  FileHandle duplicate(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
  if (!duplicate.isOpen()) return Unexpected(ArchiveError::system(errno));
  struct stat info {};
  if (::fstat(duplicate.get(), &info) != 0) return Unexpected(ArchiveError::system(errno));
  return withHead(ArchiveReader(std::move(duplicate), info));
}

Expected<ArchiveReader, ArchiveError> ArchiveReader::withHead(ArchiveReader reader) {
  reader.m_head.resize(std::min(reader.m_length, HeadSize));
  if (auto read = reader.readInto(reader.m_head.data(), 0, reader.m_head.size()); !read)
    return Unexpected(read.error());
  return reader;
}

ArchiveReader::ArchiveReader(FileHandle file, const struct stat& info)
    : m_file(std::move(file)), m_length(info.st_size), m_identity(FileIdentity::of(info)) {}

Expected<void, ArchiveError> ArchiveReader::requireInside(qint64 offset, qint64 count) const {
  if (offset < 0) return Unexpected(ArchiveError::positionBeforeStart());
  if (count < 0 || count > m_length || offset > m_length - count)
    return Unexpected(ArchiveError::pastEndOfFile());
  return {};
}

Expected<void, ArchiveError> ArchiveReader::readInto(char* buffer, qint64 offset,
                                                     qint64 count) const {
  qint64 done = 0;
  while (done < count) {
    const ssize_t n = ::pread(m_file.get(), buffer + done, count - done, offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Unexpected(ArchiveError::system(errno));
    // The file is shorter than when it was opened: it changed meanwhile.
    if (n == 0) return Unexpected(ArchiveError::pastEndOfFile());
    done += n;
  }
  return {};
}

Expected<QByteArray, ArchiveError> ArchiveReader::readAt(qint64 offset, qint64 count) const {
  if (auto inside = requireInside(offset, count); !inside) return Unexpected(inside.error());
  if (offset + count <= m_head.size()) return m_head.mid(offset, count);
  QByteArray bytes(count, Qt::Uninitialized);
  if (auto read = readInto(bytes.data(), offset, count); !read) return Unexpected(read.error());
  return bytes;
}

Expected<uint8_t, ArchiveError> ArchiveReader::readByteAt(qint64 offset) const {
  auto bytes = readAt(offset, 1);
  if (!bytes) return Unexpected(bytes.error());
  return static_cast<uint8_t>(bytes->at(0));
}

Expected<int32_t, ArchiveError> ArchiveReader::readWordAt(qint64 offset) const {
  return readWordInRecord(offset, 4, 0);
}

Expected<int32_t, ArchiveError> ArchiveReader::readWordInRecord(qint64 recordOffset,
                                                                qint64 recordSize,
                                                                qint64 wordOffset) const {
  Q_ASSERT(wordOffset >= 0 && wordOffset + 4 <= recordSize);
  auto bytes = readAt(recordOffset, recordSize);
  if (!bytes) return Unexpected(bytes.error());
  return qFromLittleEndian<int32_t>(bytes->constData() + wordOffset);
}
