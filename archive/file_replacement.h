#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

#include "archive/archive_error.h"
#include "common/expected.h"

class ArchiveReader;

// One piece of a file's new content: bytes in memory, or a range of a file that
// is open for reading, which the kernel copies without it passing through memory.
class ContentPiece {
 public:
  ContentPiece(QByteArrayView bytes) : m_bytes(bytes) {}  // NOLINT: bytes are a piece
  // Fails where the range does not lie inside the file.
  static Expected<ContentPiece, ArchiveError> range(const ArchiveReader& source, qint64 offset,
                                                    qint64 length);

  qint64 length() const { return m_source ? m_length : m_bytes.size(); }

 private:
  ContentPiece() = default;
  friend Expected<void, ArchiveError> replaceFileContents(const QString&,
                                                          const std::vector<ContentPiece>&);

  QByteArrayView m_bytes;
  const ArchiveReader* m_source = nullptr;
  qint64 m_offset = 0;
  qint64 m_length = 0;
};

// Makes the pieces, one after the other, the whole content of the file at path,
// creating it if needed. The content goes to a temporary file in the same folder
// that is renamed over the old one: after a failure the old file is as it was
// and no temporary file is left; after success the file is exactly as long as
// the pieces.
Expected<void, ArchiveError> replaceFileContents(const QString& path,
                                                 const std::vector<ContentPiece>& pieces);
Expected<void, ArchiveError> replaceFileContents(const QString& path, QByteArrayView bytes);
