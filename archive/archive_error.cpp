#include "archive/archive_error.h"

#include <sys/stat.h>

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
      return QStringLiteral("a named pipe");
    case S_IFSOCK:
      return QStringLiteral("a socket");
    case S_IFCHR:
      return QStringLiteral("a character device");
    case S_IFBLK:
      return QStringLiteral("a block device");
    case S_IFDIR:
      return QStringLiteral("a folder");
    case S_IFREG:
      return QStringLiteral("a regular file");
    default:
      return QStringLiteral("a special file");
  }
}

QString codePointName(int codePoint) {
  return QStringLiteral("U+") +
         QString::number(codePoint, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString describe(const ArchiveError& error) {
  using Kind = ArchiveError::Kind;
  switch (error.kind) {
    case Kind::SizeMismatch:
      return QStringLiteral("its size field does not match its length");
    case Kind::NotPortrait:
      return QStringLiteral("its header is not that of a portrait archive");
    case Kind::UnknownHeaderLength:
      return QStringLiteral("its header length is unknown");
    case Kind::UnknownMarker:
      return QStringLiteral("its kind marker is unknown");
    case Kind::OutsideFile:
      return QStringLiteral("its directory points outside the file");
    case Kind::NotRegularFile:
      return QStringLiteral("%1 is %2, not a regular file")
          .arg(error.path, fileTypeName(static_cast<unsigned>(error.number)));
    case Kind::KindChanged:
      return QStringLiteral("the archive changed on disk since it was loaded; load it again");
    case Kind::IdentifierMissing:
      return QStringLiteral("no identifier was given");
    case Kind::IdentifierControl:
      return QStringLiteral("the identifier holds the control character %1")
          .arg(codePointName(error.number));
    case Kind::IdentifierLength:
      return QStringLiteral("the identifier must be exactly 7 characters long");
    case Kind::IdentifierNotLatin1:
      return QStringLiteral(
          "the archive stores each character of the identifier in one byte, so only Latin-1 "
          "letters, digits and signs are allowed");
    case Kind::NameTableOutside:
      return QStringLiteral(
          "its name table would reach outside the file or over the archive's directory");
    case Kind::WouldOverwriteLoadBytes:
      return QStringLiteral(
          "the identifier would overwrite the bytes that tell the archive's kind or where its "
          "name table ends");
    case Kind::EmptyImageFile:
      return QStringLiteral("the FSH file is empty");
    case Kind::NoImageSignature:
      return QStringLiteral("this is not an FSH image: it does not start with SHPI");
    case Kind::NotAnImage:
      return QStringLiteral(
          "this is not an FSH image: its length field does not match the file's size");
    case Kind::ImageIsArchive:
      return QStringLiteral("the image file is the archive itself");
    case Kind::TargetIsArchive:
      return QStringLiteral("the target is the archive itself");
    case Kind::NoImageLength:
      return QStringLiteral(
                 "the portrait image in this archive has no valid length: its length field "
                 "says %1, less than the 8 bytes of its own header")
          .arg(error.number);
    case Kind::ImagePastEnd:
      return QStringLiteral("the portrait image in this archive reaches past the end of the file");
    case Kind::ImageOverDirectory:
      return QStringLiteral("the portrait image in this archive overlaps its directory");
    case Kind::ImageLengthDiffers:
      return QStringLiteral(
          "the image differs in length from the archive's portrait, and other members follow it");
    case Kind::ImageOverLoadBytes:
      return QStringLiteral(
          "the archive's members overlap, and the image would change the bytes that tell the "
          "archive's kind, where its name table ends or its identifier");
    case Kind::FolderNotWritable:
      return QStringLiteral("the folder %1 is not writable: %2").arg(error.path, error.detail);
    case Kind::FileNotWritable:
      return QStringLiteral("%1 is not writable: %2").arg(error.path, error.detail);
    case Kind::PositionBeforeStart:
    case Kind::PastEndOfFile:
    case Kind::Overflow:
    case Kind::SystemError:
      break;
  }
  return error.detail;
}
