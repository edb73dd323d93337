#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "common/expected.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"
#include "fileio/regular_file.h"

namespace fileio {

// Read-only access to a file at absolute offsets. Every read must lie wholly
// inside the file: a position before its start or past its end is a failure,
// never a read of made-up bytes. The file is closed with the reader. Only a
// regular file is read: anything else is refused on opening (see openRegularFile).
//
// The first page of the file is read once on opening: the header, the directory
// and usually the few member bytes an operation needs lie in it, so they cost
// no further system call.
class FileReader {
 public:
  // The bytes read on opening: reads that lie in them cost no system call.
  static constexpr qint64 HeadSize = 4096;

  static Expected<FileReader, FileError> open(const QString& path);
  // Reads a file that is already open, through a descriptor of its own;
  // path names it in errors.
  static Expected<FileReader, FileError> openDuplicate(int fd, const QString& path);

  qint64 length() const { return m_length; }
  FileIdentity identity() const { return m_identity; }
  // The file as the caller named it.
  const QString& path() const { return m_path; }

  Expected<QByteArray, FileError> readAt(qint64 offset, qint64 count) const;
  Expected<uint8_t, FileError> readByteAt(qint64 offset) const;
  Expected<int32_t, FileError> readWordAt(qint64 offset) const;  // little-endian
  // The little-endian word at wordOffset within a record of recordSize bytes
  // at recordOffset; the whole record must lie in the file.
  Expected<int32_t, FileError> readWordInRecord(qint64 recordOffset, qint64 recordSize,
                                                qint64 wordOffset) const;

  // The failure a read of count bytes at offset would meet, if any.
  Expected<void, FileError> requireInside(qint64 offset, qint64 count) const;
  // The open file, for copying a range of it without reading it into memory.
  int handle() const { return m_file.get(); }

 private:
  FileReader(FileHandle file, const struct stat& info, QString path);
  static Expected<FileReader, FileError> withHead(FileReader reader);
  Expected<void, FileError> readInto(char* buffer, qint64 offset, qint64 count) const;

  FileHandle m_file;
  qint64 m_length = 0;
  FileIdentity m_identity;
  QByteArray m_head;
  QString m_path;
};

}  // namespace fileio
