#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include "archive/archive_error.h"
#include "fsh/fsh_error.h"

namespace portrait {

// Why a picture could not go into the portrait or come out of it: the archive
// or a file refused, the codec could not read or write the image, or the
// picture file could not be read or written. A front end chooses the words;
// this says what happened and carries the values to fill them with. (A plain
// struct rather than a variant: GCC takes a variant of these for
// uninitialised under the sanitizers.)
struct Error {
  enum class Source { Archive, Codec, Picture };

  enum class PictureProblem {
    FileTooLarge,   // the file is longer than limit bytes
    TooManyPixels,  // it declares size, more than limit pixels
    NotAPicture,    // no format Qt reads, told by content or name
    VectorFormat,   // format names a vector format, which is not imported
    CutShort,       // the file ends before the pixels its header declares
    Unreadable,     // Qt could not decode it: qtReason
    Unwritable,     // Qt could not write it as format: qtReason
    Empty,          // no pixels to make a portrait of
    CropOutside,    // the crop asked for is not wholly inside the picture of size
  };

  static Error archive(archive::ArchiveError error);
  static Error codec(fsh::Error error);
  static Error picture(PictureProblem problem);

  Source source = Source::Archive;
  archive::ArchiveError archiveError;
  fsh::Error codecError;
  PictureProblem pictureProblem = PictureProblem::Unreadable;
  QSize size;         // TooManyPixels, CropOutside
  qint64 limit = 0;   // FileTooLarge: bytes; TooManyPixels: pixels
  QByteArray format;  // VectorFormat, Unwritable
  QString qtReason;   // Unreadable, Unwritable
};

}  // namespace portrait
