#pragma once

#include <QByteArrayView>
#include <QString>

#include "common/expected.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"

namespace fileio {

// Bytes in memory that read as a regular file: a dry run's planned content,
// read by the checks and by later files of its batch, with no name in any
// folder and nothing to remove.
class MemoryFile {
 public:
  // name says what the bytes are, in errors.
  static Expected<MemoryFile, FileError> of(QByteArrayView bytes, const QString& name);

  int handle() const { return m_file.get(); }
  // A path that opens it, while it is open.
  QString path() const;

 private:
  FileHandle m_file;
};

}  // namespace fileio
