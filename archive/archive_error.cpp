#include "archive/archive_error.h"

#include <cstring>
#include <iterator>

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
  if (error.isRuntimeFailure()) return error.detail;
  // In the order of the kinds, up to the runtime failures.
  static const char* const Descriptions[] = {
      "its size field does not match its length",
      "its header is not that of a portrait archive",
      "its header length is unknown",
      "its kind marker is unknown",
      "its directory points outside the file",
      "no identifier was given",
      "the identifier must be exactly 7 characters long",
      "the archive stores each character of the identifier in one byte, so only Latin-1 letters, "
      "digits and signs are allowed",
      "its name table would reach outside the file or over the archive's directory",
      "the identifier would overwrite the bytes that tell the archive's kind or where its name "
      "table ends",
      "the FSH file is empty",
      "this is not an FSH image: its length field does not match the file's size",
      "the portrait image in this archive has no valid length",
      "the portrait image in this archive reaches past the end of the file",
      "the portrait image in this archive overlaps its directory",
      "the image differs in length from the archive's portrait, and other members follow it",
  };
  static_assert(std::size(Descriptions) == static_cast<size_t>(Kind::PositionBeforeStart));
  return QString::fromUtf8(Descriptions[static_cast<size_t>(error.kind)]);
}
