#pragma once

#include <QString>

namespace fileio {

// Why a file could not be read or written as asked. The kind tells a caller
// what happened; number and detail carry what the system said; path is always
// the file or folder the failure concerns, as the caller named it.
struct FileError {
  enum class Kind {
    NotRegularFile,       // a named pipe, device, socket or folder; number is its st_mode file type
    PositionBeforeStart,  // a read before the first byte of a file
    PastEndOfFile,        // a read past the last byte of a file
    Overflow,             // a file position does not fit in 32 bits
    SystemError,          // the operating system refused; number is its errno
    FolderNotWritable,    // a file cannot be created in the folder at path; number is its errno
    FileNotWritable,      // the file at path may not be written; number is its errno
  };

  Kind kind = Kind::SystemError;
  int number = 0;  // errno, or the failure's own number for the others
  QString detail;  // the system's own words
  QString path;

  // The system's failure errorNumber, in its own words.
  static FileError system(int errorNumber, const QString& path);
  // A system failure of another kind: FolderNotWritable, FileNotWritable.
  static FileError system(Kind kind, int errorNumber, const QString& path);
  static FileError notRegularFile(const QString& path, unsigned fileType);
  static FileError positionBeforeStart(const QString& path);
  static FileError pastEndOfFile(const QString& path);
  static FileError overflow(const QString& path = {});

  bool operator==(const FileError&) const = default;
};

}  // namespace fileio
