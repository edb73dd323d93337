#pragma once

#include <QByteArray>
#include <QString>

#include "archive/archive_error.h"
#include "archive/archive_inspection.h"
#include "archive/portrait_image.h"
#include "common/expected.h"
#include "fileio/file_reader.h"

namespace archive {

// An archive that passed Load's checks, held open for reading its portrait:
// what a listing of many archives needs from each, in one opening. Most
// portraits start within the bytes read with the header, so describing one
// costs no further read.
class OpenedArchive {
 public:
  static Expected<OpenedArchive, ArchiveError> open(const QString& path);

  const ArchiveInfo& info() const { return m_info; }
  // Where the portrait lies, checked to lie inside the archive.
  Expected<PortraitRange, ArchiveError> portraitRange() const;
  // The portrait's first bytes that were read with the header (none when it
  // starts past them), at most its length.
  Expected<QByteArray, ArchiveError> portraitStart(const PortraitRange& range) const;
  Expected<QByteArray, ArchiveError> portraitBytes(const PortraitRange& range) const;

 private:
  OpenedArchive(fileio::FileReader reader, ArchiveInfo info)
      : m_reader(std::move(reader)), m_info(std::move(info)) {}

  fileio::FileReader m_reader;
  ArchiveInfo m_info;
};

}  // namespace archive
