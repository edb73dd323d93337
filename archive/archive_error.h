#pragma once

#include <QString>

// Why an archive operation did not do what it was asked. The kind tells a
// front end what happened, so that it can choose its own words; number and
// detail carry what the system or the failing check said.
struct ArchiveError {
  enum class Kind {
    // The archive fails the checks every portrait archive must pass.
    SizeMismatch,         // its size field differs from the file's length
    NotPortrait,          // header length of the family's other archives
    UnknownHeaderLength,  // any other header length
    UnknownMarker,        // member 1's kind marker is neither kind's
    OutsideFile,          // the header, or a place the directory gives, lies outside the file

    // Saving under a new identifier.
    IdentifierMissing,        // no identifier text at all
    IdentifierLength,         // not exactly 7 characters as a reader counts them
    IdentifierNotLatin1,      // a character that does not fit in one byte
    NameTableOutside,         // the identifier copies would leave the name table
    WouldOverwriteLoadBytes,  // a copy would cover the kind marker or the name-table end

    // The portrait image (member 4) and image files.
    EmptyImageFile,      // the image file holds no bytes
    NotAnImage,          // the image file's length word is not its size
    NoImageLength,       // the portrait's length word is shorter than the word itself
    ImagePastEnd,        // the portrait reaches past the end of the archive
    ImageOverDirectory,  // the portrait lies over the header and directory
    ImageLengthDiffers,  // another length, and other members follow the portrait

    // Runtime failures: number and detail say what failed.
    PositionBeforeStart,  // a read before the first byte of a file
    PastEndOfFile,        // a read past the last byte of a file
    Overflow,             // a file position does not fit in 32 bits
    SystemError,          // the operating system refused; number is its errno
  };

  Kind kind = Kind::SystemError;
  int number = 0;  // errno for SystemError, the failure's number for the other runtime failures
  QString detail;  // the system's own words for a runtime failure

  static ArchiveError of(Kind kind) { return {kind, 0, {}}; }
  static ArchiveError system(int errorNumber);
  static ArchiveError system(int errorNumber, const QString& detail);
  static ArchiveError positionBeforeStart();
  static ArchiveError pastEndOfFile();
  static ArchiveError overflow();

  bool isRuntimeFailure() const;
  bool operator==(const ArchiveError&) const = default;
};

// What a person is told, in plain words, for a front end without its own text.
QString describe(const ArchiveError& error);
