#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

class ArchiveReader;

// One piece of a file's new content: bytes in memory, or a range of a file that
// is open for reading, which the kernel copies without it passing through memory.
class ContentPiece {
 public:
  ContentPiece(QByteArrayView bytes) : bytes_(bytes) {}  // NOLINT: bytes are a piece
  // Throws the read failure when the range does not lie inside the file.
  static ContentPiece Range(const ArchiveReader& source, qint64 offset, qint64 length);

  qint64 Length() const { return source_ ? length_ : bytes_.size(); }

 private:
  ContentPiece() = default;
  friend void ReplaceFileContents(const QString&, const std::vector<ContentPiece>&);

  QByteArrayView bytes_;
  const ArchiveReader* source_ = nullptr;
  qint64 offset_ = 0;
  qint64 length_ = 0;
};

// Makes the pieces, one after the other, the whole content of the file at path,
// creating it if needed. The content goes to a temporary file in the same folder
// that is renamed over the old one: after a failure the old file is as it was
// and no temporary file is left; after success the file is exactly as long as
// the pieces. Failures are thrown as CommandError.
void ReplaceFileContents(const QString& path, const std::vector<ContentPiece>& pieces);
void ReplaceFileContents(const QString& path, QByteArrayView bytes);
