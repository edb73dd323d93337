#pragma once

#include <QByteArray>
#include <QString>

#include "archive/archive_error.h"
#include "common/expected.h"
#include "fileio/file_reader.h"

namespace archive {

// A file offered to go into an archive, opened once, so that the bytes that
// tell what it holds and the bytes then read are the same file's, even if it
// is replaced meanwhile.
class SourceFile {
 public:
  static Expected<SourceFile, ArchiveError> open(const QString& path);

  qint64 length() const { return m_reader.length(); }
  // Its first count bytes, or all of it when it is shorter.
  Expected<QByteArray, ArchiveError> readStart(qint64 count) const;
  Expected<QByteArray, ArchiveError> readAll() const;

 private:
  explicit SourceFile(fileio::FileReader reader) : m_reader(std::move(reader)) {}

  fileio::FileReader m_reader;
};

}  // namespace archive
