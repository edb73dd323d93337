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
  // A switch without a default: the compiler names any kind that is missing here.
  const auto text = [](const char* words) { return QString::fromUtf8(words); };
  switch (error.kind) {
    case ArchiveError::Kind::SizeMismatch:
      return text("its size field does not match its length");
    case ArchiveError::Kind::NotPortrait:
      return text("its header is not that of a portrait archive");
    case ArchiveError::Kind::UnknownHeaderLength:
      return text("its header length is unknown");
    case ArchiveError::Kind::UnknownMarker:
      return text("its kind marker is unknown");
    case ArchiveError::Kind::OutsideFile:
      return text("its directory points outside the file");
    case ArchiveError::Kind::IdentifierMissing:
      return text("no identifier was given");
    case ArchiveError::Kind::IdentifierLength:
      return text("the identifier must be exactly 7 characters long");
    case ArchiveError::Kind::IdentifierNotLatin1:
      return text(
          "the archive stores each character of the identifier in one byte, so only Latin-1 "
          "letters, digits and signs are allowed");
    case ArchiveError::Kind::NameTableOutside:
      return text("its name table would reach outside the file or over the archive's directory");
    case ArchiveError::Kind::WouldOverwriteLoadBytes:
      return text(
          "the identifier would overwrite the bytes that tell the archive's kind or where its "
          "name table ends");
    case ArchiveError::Kind::EmptyImageFile:
      return text("the FSH file is empty");
    case ArchiveError::Kind::NotAnImage:
      return text("this is not an FSH image: its length field does not match the file's size");
    case ArchiveError::Kind::NoImageLength:
      return text("the portrait image in this archive has no valid length");
    case ArchiveError::Kind::ImagePastEnd:
      return text("the portrait image in this archive reaches past the end of the file");
    case ArchiveError::Kind::ImageOverDirectory:
      return text("the portrait image in this archive overlaps its directory");
    case ArchiveError::Kind::ImageLengthDiffers:
      return text(
          "the image differs in length from the archive's portrait, and other members follow "
          "it");
    case ArchiveError::Kind::PositionBeforeStart:
    case ArchiveError::Kind::PastEndOfFile:
    case ArchiveError::Kind::Overflow:
    case ArchiveError::Kind::SystemError:
      return error.detail;
  }
  return error.detail;
}
