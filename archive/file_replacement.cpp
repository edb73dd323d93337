#include "archive/file_replacement.h"

#include <unistd.h>

#include <QSaveFile>
#include <cerrno>
#include <cstring>

#include "archive/archive_reader.h"
#include "archive/command_error.h"

namespace {

[[noreturn]] void ThrowErrno(int error) {
  throw CommandError(error, QString::fromLocal8Bit(std::strerror(error)));
}

void WriteBytes(int out, qint64 at, QByteArrayView bytes) {
  qint64 done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(out, bytes.data() + done, bytes.size() - done, at + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ThrowErrno(n < 0 ? errno : EIO);
    done += n;
  }
}

// Through a buffer, where the kernel cannot copy between the two files itself.
void CopyThroughMemory(int in, qint64 from, int out, qint64 at, qint64 length) {
  QByteArray buffer(std::min<qint64>(length, qint64{1} << 20), Qt::Uninitialized);
  while (length > 0) {
    const ssize_t n = ::pread(in, buffer.data(), std::min<qint64>(length, buffer.size()), from);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ThrowErrno(errno);
    // The source is shorter than when it was checked: it changed meanwhile.
    if (n == 0)
      throw CommandError(PastEndOfFileErrorNumber, QStringLiteral("Input past end of file"));
    WriteBytes(out, at, QByteArrayView(buffer.constData(), n));
    from += n;
    at += n;
    length -= n;
  }
}

void CopyRange(int in, qint64 from, int out, qint64 at, qint64 length) {
  while (length > 0) {
    loff_t inOffset = from;
    loff_t outOffset = at;
    const ssize_t n = ::copy_file_range(in, &inOffset, out, &outOffset, length, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                  errno == EBADF)) {
      CopyThroughMemory(in, from, out, at, length);
      return;
    }
    if (n < 0) ThrowErrno(errno);
    if (n == 0)
      throw CommandError(PastEndOfFileErrorNumber, QStringLiteral("Input past end of file"));
    from += n;
    at += n;
    length -= n;
  }
}

}  // namespace

ContentPiece ContentPiece::Range(const ArchiveReader& source, qint64 offset, qint64 length) {
  source.RequireInside(offset, length);
  ContentPiece piece;
  piece.source_ = &source;
  piece.offset_ = offset;
  piece.length_ = length;
  return piece;
}

void ReplaceFileContents(const QString& path, const std::vector<ContentPiece>& pieces) {
  if (path.isEmpty()) throw CommandError(52, QStringLiteral("Bad file name or number"));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw CommandError(file.error(), file.errorString());
  // Every byte goes straight to the temporary file at its own offset, so Qt's
  // buffer stays empty and a short write is seen here, not lost in the commit.
  const int out = file.handle();
  qint64 at = 0;
  for (const ContentPiece& piece : pieces) {
    if (piece.source_)
      CopyRange(piece.source_->Handle(), piece.offset_, out, at, piece.length_);
    else
      WriteBytes(out, at, piece.bytes_);
    at += piece.Length();
  }
  if (!file.commit()) throw CommandError(file.error(), file.errorString());
}

void ReplaceFileContents(const QString& path, QByteArrayView bytes) {
  ReplaceFileContents(path, std::vector<ContentPiece>{bytes});
}
