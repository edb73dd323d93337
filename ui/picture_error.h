#pragma once

#include <QString>
#include <variant>

#include "archive/archive_error.h"
#include "fsh/fsh_error.h"

// A picture file that could not be read or written, with Qt's reason.
struct PictureFileError {
  QString reason;
};

// Why a picture could not go into the portrait or come out of it: the archive
// or a file refused, the codec could not read or write the image, or Qt could
// not read or write the picture.
using PictureError = std::variant<ArchiveError, fsh::Error, PictureFileError>;
