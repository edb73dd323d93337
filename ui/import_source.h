#pragma once

#include <QByteArray>
#include <QImage>

#include "common/expected.h"
#include "ui/picture_error.h"

// What a file offered for import holds, told by its content, not its name.
struct ImportSource {
  enum class Kind {
    FshImage,            // starts with the FSH magic: imported as it is
    CompressedFshImage,  // a RefPack stream of an FSH image: `image` holds it unpacked
    Picture,             // anything Qt reads as a picture: `picture` holds it
    Other,               // neither: Import's own checks tell the user why it is refused
  };
  Kind kind = Kind::Other;
  QByteArray image;  // CompressedFshImage only
  QImage picture;    // Picture only
};

// Reads enough of the file at path to tell what it holds, and all of it for a
// compressed image or a picture. A plain FSH image is left on disk for Import,
// and a file that cannot be read at all is Other, so that Import reports it as
// it reports any unreadable file.
Expected<ImportSource, PictureError> readImportSource(const QString& path);
