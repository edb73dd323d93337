#include "archive/archive_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <utility>

Expected<ArchiveReader, ArchiveError> ArchiveReader::open(const QString& path) {
  int fd = -1;
  do {
    fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return Unexpected(ArchiveError::system(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return Unexpected(ArchiveError::system(error));
  }
  ArchiveReader reader(fd, info.st_size);
  reader.m_head.resize(std::min(reader.m_length, HeadSize));
  if (auto read = reader.readInto(reader.m_head.data(), 0, reader.m_head.size()); !read)
    return Unexpected(read.error());
  return reader;
}

ArchiveReader::ArchiveReader(int fd, qint64 length) : m_fd(fd), m_length(length) {}

ArchiveReader::ArchiveReader(ArchiveReader&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_length(other.m_length),
      m_head(std::move(other.m_head)) {}

ArchiveReader& ArchiveReader::operator=(ArchiveReader&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = std::exchange(other.m_fd, -1);
    m_length = other.m_length;
    m_head = std::move(other.m_head);
  }
  return *this;
}

ArchiveReader::~ArchiveReader() {
  if (m_fd >= 0) ::close(m_fd);
}

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
    const ssize_t n = ::pread(m_fd, buffer + done, count - done, offset + done);
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
