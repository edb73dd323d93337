#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

#include "common/expected.h"
#include "fileio/file_error.h"

namespace fileio {

class FileReader;

// One piece of a file's new content: bytes in memory, or a range of a file that
// is open for reading, which the kernel copies without it passing through memory.
// A range of a few KiB is read at once instead (mostly from the page the reader
// holds already), so that it goes out with the pieces in memory around it.
class ContentPiece {
 public:
  ContentPiece(QByteArrayView bytes) : m_bytes(bytes) {}  // NOLINT: bytes are a piece
  // Fails where the range does not lie inside the file.
  static Expected<ContentPiece, FileError> range(const FileReader& source, qint64 offset,
                                                 qint64 length);

  qint64 length() const { return m_source ? m_length : bytes().size(); }
  // The piece's bytes, when it is held in memory.
  bool isInMemory() const { return m_source == nullptr; }
  QByteArrayView bytes() const { return m_owned.isNull() ? m_bytes : QByteArrayView(m_owned); }
  // Writes the piece to out, the file at outPath, at offset at.
  Expected<void, FileError> writeTo(int out, const QString& outPath, qint64 at) const;
  // Appends the piece's bytes to content, reading a range of a file.
  Expected<void, FileError> appendTo(QByteArray& content) const;

 private:
  ContentPiece() = default;

  QByteArrayView m_bytes;
  QByteArray m_owned;  // a small range, read
  const FileReader* m_source = nullptr;
  qint64 m_offset = 0;
  qint64 m_length = 0;
};

// The length of the content the pieces make, one after the other.
qint64 contentLength(const std::vector<ContentPiece>& pieces);
// That content itself, in memory.
Expected<QByteArray, FileError> contentBytes(const std::vector<ContentPiece>& pieces);

// Writes bytes to out, the file at outPath, at offset at.
Expected<void, FileError> writeBytes(int out, const QString& outPath, qint64 at,
                                     QByteArrayView bytes);
// Copies length bytes at from in the file open as in to at in out, by the
// kernel where it can.
Expected<void, FileError> copyRange(int in, const QString& inPath, qint64 from, int out,
                                    const QString& outPath, qint64 at, qint64 length);

}  // namespace fileio
