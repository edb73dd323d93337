#include "archive/archive_reader.h"

#include <algorithm>

#include "archive/command_error.h"
#include "archive/word_decoding.h"

ArchiveReader::ArchiveReader(const QString& path) : file_(path) {
  if (path.isEmpty()) throw CommandError(52, QStringLiteral("Bad file name or number"));
  if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
    throw CommandError(file_.error(), file_.errorString());
  length_ = file_.size();
  const qint64 headLength = std::min(length_, HeadSize);
  head_.resize(headLength);
  if (file_.read(head_.data(), headLength) != headLength)
    throw CommandError(file_.error() ? file_.error() : QFileDevice::ReadError, file_.errorString());
}

void ArchiveReader::RequireInside(qint64 offset, qint64 count) const {
  if (offset < 0) throw CommandError(BadPositionErrorNumber, QStringLiteral("Bad record number"));
  if (count < 0 || count > length_ || offset > length_ - count)
    throw CommandError(PastEndOfFileErrorNumber, QStringLiteral("Input past end of file"));
}

QByteArray ArchiveReader::ReadAt(qint64 offset, qint64 count) {
  RequireInside(offset, count);
  if (offset + count <= head_.size()) return head_.mid(offset, count);
  QByteArray bytes(count, Qt::Uninitialized);
  if (!file_.seek(offset) || file_.read(bytes.data(), count) != count)
    throw CommandError(file_.error() ? file_.error() : QFileDevice::ReadError, file_.errorString());
  return bytes;
}

uint8_t ArchiveReader::ReadByteAt(qint64 offset) {
  return static_cast<uint8_t>(ReadAt(offset, 1).at(0));
}

int32_t ArchiveReader::ReadWordAt(qint64 offset) {
  return LittleEndianWord(ReadAt(offset, 4).constData());
}

QByteArray ArchiveReader::ReadAll() { return ReadAt(0, length_); }
