#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

// Read-only access to a file at absolute offsets. Every read must lie wholly
// inside the file: a position before its start or past its end is a runtime
// failure, never a read of made-up bytes. The file is closed with the reader.
//
// The first page of the file is read once on opening: the header, the directory
// and usually the few member bytes a routine needs lie in it, so they cost no
// further system call.
class ArchiveReader {
 public:
  explicit ArchiveReader(const QString& path);

  qint64 Length() const { return length_; }

  QByteArray ReadAt(qint64 offset, qint64 count);
  uint8_t ReadByteAt(qint64 offset);
  int32_t ReadWordAt(qint64 offset);  // little-endian
  QByteArray ReadAll();

  // Throws the failure a read of count bytes at offset would meet.
  void RequireInside(qint64 offset, qint64 count) const;
  // The open file, for copying a range of it without reading it into memory.
  int Handle() const { return file_.handle(); }

 private:
  static constexpr qint64 HeadSize = 4096;

  QFile file_;
  qint64 length_ = 0;
  QByteArray head_;
};
