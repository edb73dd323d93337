#include "archive/source_file.h"

#include <algorithm>

namespace archive {

Expected<SourceFile, ArchiveError> SourceFile::open(const QString& path) {
  auto reader = fileio::FileReader::open(path);
  if (!reader) return Unexpected(ArchiveError(reader.error()));
  return SourceFile(std::move(*reader));
}

Expected<QByteArray, ArchiveError> SourceFile::readStart(qint64 count) const {
  return m_reader.readAt(0, std::min(count, m_reader.length()));
}

Expected<QByteArray, ArchiveError> SourceFile::readAll() const {
  return m_reader.readAt(0, m_reader.length());
}

}  // namespace archive
