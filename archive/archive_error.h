#pragma once

#include <QString>

#include "fileio/file_error.h"

namespace archive {

// Why an archive operation did not do what it was asked. The kind tells a
// front end what happened, so that it can choose its own words; number, detail
// and path carry what the system or the failing check said, and where.
struct ArchiveError {
  enum class Kind {
    // The archive fails the checks every portrait archive must pass.
    SizeMismatch,         // its size field differs from the file's length
    NotPortrait,          // header length of the family's other archives
    UnknownHeaderLength,  // any other header length
    UnknownMarker,        // member 1's kind marker is neither kind's
    OutsideFile,          // the header, or a place the directory gives, lies outside the file

    // Files that cannot be read or written as what they should be.
    NotRegularFile,  // a named pipe, device, socket or folder; number is its st_mode file type

    // Saving under a new identifier.
    KindChanged,              // the archive is no longer of the kind it was loaded as
    IdentifierMissing,        // no identifier text at all
    IdentifierControl,        // a control character; number is its code point
    IdentifierLength,         // not exactly 7 characters once composed
    IdentifierNotLatin1,      // a character that does not fit in one byte
    NameTableOutside,         // the identifier copies would leave the name table
    WouldOverwriteLoadBytes,  // a copy would cover the kind marker or the name-table end

    // The portrait image (member 4) and image files.
    EmptyImageFile,      // the image file holds no bytes
    NoImageSignature,    // the image file does not start with the FSH signature
    NotAnImage,          // the image file's length word is not its size
    ImageIsArchive,      // the image file is the archive itself
    TargetIsArchive,     // the export target is the archive itself
    NoImageLength,       // the portrait's length word (number) is shorter than its own header
    ImagePastEnd,        // the portrait reaches past the end of the archive
    ImageOverDirectory,  // the portrait lies over the header and directory
    ImageLengthDiffers,  // another length, and other members follow the portrait
    ImageOverLoadBytes,  // the image would change the kind marker, name-table end or identifier

    // The file layer's failures (fileio::FileError's kinds): number and detail
    // say what failed, path where.
    PositionBeforeStart,  // a read before the first byte of a file
    PastEndOfFile,        // a read past the last byte of a file
    Overflow,             // a file position does not fit in 32 bits
    SystemError,          // the operating system refused; number is its errno
    FolderNotWritable,    // a file cannot be created in the folder at path; number is its errno
    FileNotWritable,      // the file at path may not be written; number is its errno
  };

  Kind kind = Kind::SystemError;
  // errno for the operating system's failures, the failure's number for the
  // other runtime failures; what the kind says for the others.
  int number = 0;
  QString detail;  // the system's own words for a runtime failure
  QString path;    // the file or folder the error is about, where it names one

  ArchiveError() = default;
  ArchiveError(Kind kind, int number, QString detail, QString path)
      : kind(kind), number(number), detail(std::move(detail)), path(std::move(path)) {}
  // A failure of the file layer, with its path.
  ArchiveError(const fileio::FileError& error);  // NOLINT: implicit, every file failure is one

  static ArchiveError of(Kind kind) { return {kind, 0, {}, {}}; }

  bool isRuntimeFailure() const;
  bool operator==(const ArchiveError&) const = default;
};

// What kind of file a st_mode file type is, in words both front ends use in
// their sentences: "a named pipe", "a folder", ...
QString fileTypeName(unsigned fileType);

// A character's code as people write it: "U+0009".
QString codePointName(int codePoint);

}  // namespace archive
