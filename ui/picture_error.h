#pragma once

#include <QString>

#include "archive/archive_error.h"
#include "fsh/fsh_error.h"

// Why a picture could not go into the portrait or come out of it: the archive
// or a file refused, the codec could not read or write the image, or Qt could
// not read or write the picture. (A plain struct rather than a variant: GCC
// takes a variant of these for uninitialised under the sanitizers.)
struct PictureError {
  enum class Source { Archive, Codec, PictureFile };

  static PictureError archive(ArchiveError error) {
    PictureError result;
    result.archiveError = std::move(error);
    return result;
  }
  static PictureError codec(fsh::Error error) {
    PictureError result;
    result.source = Source::Codec;
    result.codecError = std::move(error);
    return result;
  }
  // Qt's reason why a picture file could not be read or written.
  static PictureError pictureFile(QString reason) {
    PictureError result;
    result.source = Source::PictureFile;
    result.pictureFileReason = std::move(reason);
    return result;
  }

  Source source = Source::Archive;
  ArchiveError archiveError;
  fsh::Error codecError;
  QString pictureFileReason;
};
