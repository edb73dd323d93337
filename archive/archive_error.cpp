#include "archive/archive_error.h"

#include <cstring>

namespace {

// The numbers and words the editor has always reported these failures with.
constexpr int OverflowNumber = 6;
constexpr int PastEndOfFileNumber = 62;
constexpr int BadPositionNumber = 63;

}  // namespace

ArchiveError ArchiveError::system(int errorNumber) {
  return system(errorNumber, QString::fromLocal8Bit(std::strerror(errorNumber)));
}

ArchiveError ArchiveError::system(int errorNumber, const QString& detail) {
  return {Kind::SystemError, errorNumber, detail};
}

ArchiveError ArchiveError::positionBeforeStart() {
  return {Kind::PositionBeforeStart, BadPositionNumber, QStringLiteral("Bad record number")};
}

ArchiveError ArchiveError::pastEndOfFile() {
  return {Kind::PastEndOfFile, PastEndOfFileNumber, QStringLiteral("Input past end of file")};
}

ArchiveError ArchiveError::overflow() {
  return {Kind::Overflow, OverflowNumber, QStringLiteral("Overflow")};
}

bool ArchiveError::isRuntimeFailure() const {
  return kind == Kind::PositionBeforeStart || kind == Kind::PastEndOfFile ||
         kind == Kind::Overflow || kind == Kind::SystemError;
}

QString describe(const ArchiveError& error) {
  using Kind = ArchiveError::Kind;
  switch (error.kind) {
    case Kind::SizeMismatch:
      return QStringLiteral("its size field does not match its length");
    case Kind::NotPortrait:
    case Kind::UnknownHeaderLength:
      return QStringLiteral("its header is not that of a portrait archive");
    case Kind::UnknownMarker:
      return QStringLiteral("its kind marker is unknown");
    case Kind::OutsideFile:
      return QStringLiteral("its directory points outside the file");
    case Kind::IdentifierMissing:
      return QStringLiteral("no identifier was given");
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
    case Kind::NotAnImage:
      return QStringLiteral(
          "this is not an FSH image: its length field does not match the file's size");
    case Kind::NoImageLength:
      return QStringLiteral("the portrait image in this archive has no valid length");
    case Kind::ImagePastEnd:
      return QStringLiteral("the portrait image in this archive reaches past the end of the file");
    case Kind::ImageOverDirectory:
      return QStringLiteral("the portrait image in this archive overlaps its directory");
    case Kind::ImageLengthDiffers:
      return QStringLiteral(
          "the image differs in length from the archive's portrait, and other members follow the "
          "portrait");
    case Kind::PositionBeforeStart:
    case Kind::PastEndOfFile:
    case Kind::Overflow:
    case Kind::SystemError:
      return error.detail;
  }
  return error.detail;
}
