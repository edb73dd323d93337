#include "archive/opened_archive.h"

#include <algorithm>

namespace archive {

Expected<OpenedArchive, ArchiveError> OpenedArchive::open(const QString& path) {
  auto reader = fileio::FileReader::open(path);
  if (!reader) return Unexpected(ArchiveError(reader.error()));
  auto info = inspectArchive(*reader);
  if (!info) return Unexpected(std::move(info).error());
  return OpenedArchive(std::move(*reader), std::move(*info));
}

Expected<PortraitRange, ArchiveError> OpenedArchive::portraitRange() const {
  return locatePortrait(m_reader, m_info);
}

Expected<QByteArray, ArchiveError> OpenedArchive::portraitStart(const PortraitRange& range) const {
  const qint64 readAlready = std::max<qint64>(fileio::FileReader::HeadSize - range.offset, 0);
  return m_reader.readAt(range.offset, std::min<qint64>(range.length, readAlready));
}

Expected<QByteArray, ArchiveError> OpenedArchive::portraitBytes(const PortraitRange& range) const {
  return m_reader.readAt(range.offset, range.length);
}

}  // namespace archive
