#include "archive/archive_error.h"

#include <sys/stat.h>

#include <QCoreApplication>

namespace archive {

namespace {

ArchiveError::Kind kindOf(fileio::FileError::Kind kind) {
  using File = fileio::FileError::Kind;
  using Kind = ArchiveError::Kind;
  switch (kind) {
    case File::NotRegularFile:
      return Kind::NotRegularFile;
    case File::PositionBeforeStart:
      return Kind::PositionBeforeStart;
    case File::PastEndOfFile:
      return Kind::PastEndOfFile;
    case File::Overflow:
      return Kind::Overflow;
    case File::FolderNotWritable:
      return Kind::FolderNotWritable;
    case File::FileNotWritable:
      return Kind::FileNotWritable;
    case File::SystemError:
      break;
  }
  return Kind::SystemError;
}

}  // namespace

ArchiveError::ArchiveError(const fileio::FileError& error)
    : kind(kindOf(error.kind)), number(error.number), detail(error.detail), path(error.path) {}

bool ArchiveError::isRuntimeFailure() const { return kind >= Kind::PositionBeforeStart; }

QString fileTypeName(unsigned fileType) {
  switch (fileType & S_IFMT) {
    case S_IFIFO:
      return QCoreApplication::translate("ArchiveError", "a named pipe");
    case S_IFSOCK:
      return QCoreApplication::translate("ArchiveError", "a socket");
    case S_IFCHR:
      return QCoreApplication::translate("ArchiveError", "a character device");
    case S_IFBLK:
      return QCoreApplication::translate("ArchiveError", "a block device");
    case S_IFDIR:
      return QCoreApplication::translate("ArchiveError", "a folder");
    case S_IFREG:
      return QCoreApplication::translate("ArchiveError", "a regular file");
    default:
      return QCoreApplication::translate("ArchiveError", "a special file");
  }
}

QString codePointName(int codePoint) {
  return QStringLiteral("U+") +
         QString::number(codePoint, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

}  // namespace archive
