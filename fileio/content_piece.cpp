#include "fileio/content_piece.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "fileio/file_reader.h"

namespace fileio {

namespace {

using Result = Expected<void, FileError>;

// Ranges up to this long are read into memory rather than copied by the kernel.
constexpr qint64 SmallRange = 4096;

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

}  // namespace

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

Result ContentPiece::appendTo(QByteArray& content) const {
  if (!m_source) {
    content += bytes();
    return {};
  }
  auto range = m_source->readAt(m_offset, m_length);
  if (!range) return Unexpected(range.error());
  content += *range;
  return {};
}

qint64 contentLength(const std::vector<ContentPiece>& pieces) {
  qint64 length = 0;
  for (const ContentPiece& piece : pieces) length += piece.length();
  return length;
}

Expected<QByteArray, FileError> contentBytes(const std::vector<ContentPiece>& pieces) {
  QByteArray content;
  content.reserve(contentLength(pieces));
  for (const ContentPiece& piece : pieces)
    if (auto appended = piece.appendTo(content); !appended) return Unexpected(appended.error());
  return content;
}

}  // namespace fileio
