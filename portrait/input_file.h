#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QImage>
#include <QSize>
#include <QString>

#include "common/expected.h"
#include "portrait/portrait_error.h"

namespace portrait {

// Larger picture files are refused before they are read.
inline constexpr qint64 MaxPictureFileSize = qint64{256} << 20;
// Larger pictures are refused before they are decoded: a phone photo of 8000 x
// 6000 goes in, a small file that declares 60000 x 60000 pixels does not.
inline constexpr qint64 MaxPicturePixels = 120'000'000;

// The picture formats a portrait is made from: what Qt's installed image
// plugins read, raster formats only (drawing a vector picture needs fonts and
// a display). Lower case, sorted.
QByteArrayList pictureFormats();

// What a file offered for import holds, told by its content; the file name's
// suffix decides only for pictures whose content names no format (TGA).
enum class InputKind {
  FshImage,            // starts with the FSH magic: imported as it is
  CompressedFshImage,  // a RefPack stream of an FSH image: imported unpacked
  Picture,             // a picture in one of pictureFormats()
  Other,               // neither: Import's own checks tell why it is refused
};

// The kind of a file named fileName whose first bytes are start (up to
// fsh::FileKindProbeSize of them).
InputKind inputKindOf(const QByteArray& start, const QString& fileName);

struct InputFile {
  InputKind kind = InputKind::Other;
  QByteArray image;  // CompressedFshImage: unpacked
  QImage picture;    // Picture
};

// Reads enough of the file at path to tell what it holds, and all of it for
// a compressed image or a picture. A plain FSH image is left on disk for
// Import, and a file that cannot be read at all is Other, so that Import
// reports it as it reports any unreadable file.
Expected<InputFile, Error> readInputFile(const QString& path);

// Reads the picture file at path whole (up to MaxPictureFileSize) and decodes it.
Expected<QImage, Error> readPictureFile(const QString& path);

// Decodes the bytes of a picture file named fileName, refusing it before
// decoding when it declares more than MaxPicturePixels.
Expected<QImage, Error> readPicture(const QByteArray& bytes, const QString& fileName);

// Refuses a picture of size beyond MaxPicturePixels (one already decoded,
// such as the clipboard's).
Expected<void, Error> checkPictureSize(QSize size);

// Raises Qt's allocation limit for decoding to what MaxPicturePixels needs: a
// process-wide setting, made once. A program calls it at start, so that what
// Qt decodes by itself (a picture pasted from another program) is held to the
// same limit as a picture file; reading a picture makes sure of it as well.
void allowPictureAllocations();

}  // namespace portrait
