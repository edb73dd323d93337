#include "archive/file_replacement.h"

#include <unistd.h>

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#include "archive/archive_reader.h"

namespace {

using Result = Expected<void, ArchiveError>;

Result writeBytes(int out, qint64 at, QByteArrayView bytes) {
  qint64 done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(out, bytes.data() + done, bytes.size() - done, at + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Unexpected(ArchiveError::system(n < 0 ? errno : EIO));
    done += n;
  }
  return {};
}

// Through a buffer, where the kernel cannot copy between the two files itself.
Result copyThroughMemory(int in, qint64 from, int out, qint64 at, qint64 length) {
  QByteArray buffer(std::min<qint64>(length, qint64{1} << 20), Qt::Uninitialized);
  while (length > 0) {
    const ssize_t n = ::pread(in, buffer.data(), std::min<qint64>(length, buffer.size()), from);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Unexpected(ArchiveError::system(errno));
    // The source is shorter than when it was checked: it changed meanwhile.
    if (n == 0) return Unexpected(ArchiveError::pastEndOfFile());
    if (auto written = writeBytes(out, at, QByteArrayView(buffer.constData(), n)); !written)
      return written;
    from += n;
    at += n;
    length -= n;
  }
  return {};
}

Result copyRange(int in, qint64 from, int out, qint64 at, qint64 length) {
  while (length > 0) {
    loff_t inOffset = from;
    loff_t outOffset = at;
    const ssize_t n = ::copy_file_range(in, &inOffset, out, &outOffset, length, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                  errno == EBADF))
      return copyThroughMemory(in, from, out, at, length);
    if (n < 0) return Unexpected(ArchiveError::system(errno));
    if (n == 0) return Unexpected(ArchiveError::pastEndOfFile());
    from += n;
    at += n;
    length -= n;
  }
  return {};
}

// Qt reports a failed open or commit in its own words; the number is the
// system's, read right after the failing call. Qt refuses a folder before any
// system call fails.
ArchiveError saveFileError(const QSaveFile& file, int errorNumber) {
  if (QFileInfo(file.fileName()).isDir()) errorNumber = EISDIR;
  return ArchiveError::system(errorNumber != 0 ? errorNumber : EIO, file.errorString());
}

}  // namespace

Expected<ContentPiece, ArchiveError> ContentPiece::range(const ArchiveReader& source, qint64 offset,
                                                         qint64 length) {
  if (auto inside = source.requireInside(offset, length); !inside)
    return Unexpected(inside.error());
  ContentPiece piece;
  piece.m_source = &source;
  piece.m_offset = offset;
  piece.m_length = length;
  return piece;
}

Result replaceFileContents(const QString& path, const std::vector<ContentPiece>& pieces) {
  if (path.isEmpty()) return Unexpected(ArchiveError::system(ENOENT));
  QSaveFile file(path);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly)) return Unexpected(saveFileError(file, errno));
  // Every byte goes straight to the temporary file at its own offset, so Qt's
  // buffer stays empty and a short write is seen here, not lost in the commit.
  const int out = file.handle();
  qint64 at = 0;
  for (const ContentPiece& piece : pieces) {
    Result written = piece.m_source ? copyRange(piece.m_source->handle(), piece.m_offset, out, at,
                                                piece.m_length)
                                    : writeBytes(out, at, piece.m_bytes);
    if (!written) return written;  // the temporary file goes with the QSaveFile
    at += piece.length();
  }
  errno = 0;
  if (!file.commit()) return Unexpected(saveFileError(file, errno));
  return {};
}

Result replaceFileContents(const QString& path, QByteArrayView bytes) {
  return replaceFileContents(path, std::vector<ContentPiece>{bytes});
}
