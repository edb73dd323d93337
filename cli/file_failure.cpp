#include "cli/file_failure.h"

FileFailure archiveFailure(const QString& file, const ArchiveError& error) {
  return {file, describe(error)};
}

FileFailure portraitFailure(const QString& file, const fsh::Error& error) {
  return {file, QStringLiteral("portrait image: ") + error.message};
}

namespace {

using Kind = ArchiveError::Kind;

bool isImageFault(Kind kind) {
  return kind == Kind::EmptyImageFile || kind == Kind::NoImageSignature ||
         kind == Kind::NotAnImage || kind == Kind::ImageIsArchive;
}

// What reading the archive and finding its portrait can meet.
bool isArchiveFault(Kind kind) {
  switch (kind) {
    case Kind::SizeMismatch:
    case Kind::NotPortrait:
    case Kind::UnknownHeaderLength:
    case Kind::UnknownMarker:
    case Kind::OutsideFile:
    case Kind::NoImageLength:
    case Kind::ImagePastEnd:
    case Kind::ImageOverDirectory:
    case Kind::PositionBeforeStart:
    case Kind::PastEndOfFile:
    case Kind::Overflow:
      return true;
    default:
      return false;
  }
}

}  // namespace

QString importFailureFile(const ArchiveError& error, const QString& archive, const QString& image) {
  if (isImageFault(error.kind) || (!error.path.isEmpty() && error.path == image)) return image;
  return archive;
}

QString exportFailureFile(const ArchiveError& error, const QString& archive,
                          const QString& output) {
  // Opening either file names it. A system error without a path comes from
  // copying the portrait out: nearly always the output's (a full disk, the
  // file-size limit), though a read of the archive failing there looks alike.
  if (!error.path.isEmpty()) return error.path == archive ? archive : output;
  return isArchiveFault(error.kind) ? archive : output;
}
