#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "cli/file_failure.h"
#include "common/expected.h"
#include "fsh/describe.h"
#include "fsh/fit_picture.h"
#include "fsh/replace_bitmap.h"

// The portrait of an archive as a picture, and a picture made into the portrait.

enum class PictureFormat { Png, Bmp, Jpeg };

// The picture format a file name asks for by its extension (.png, .bmp, .jpg or
// .jpeg, in any case), if any.
std::optional<PictureFormat> pictureFormatForPath(const QString& path);

// The archive's portrait image, decoded at its full size.
Expected<QImage, FileFailure> portraitPicture(const QString& archivePath);

// The picture as the bytes of a file of the given format.
Expected<QByteArray, FileFailure> encodePicture(const QImage& picture, PictureFormat format,
                                                const QString& fileName);

// Reads a picture file in one of the raster formats Qt reads (PNG, BMP, JPEG,
// GIF, WebP, TIFF, ...). Vector formats are refused: drawing them needs fonts
// and a display.
Expected<QImage, FileFailure> readPicture(const QString& path);

// A portrait image made from a picture: the archive's own portrait with the
// picture, fitted to its size, in place of its main bitmap.
struct PortraitFromPicture {
  QByteArray image;                      // a complete FSH image
  fsh::BitmapDescription before, after;  // the main bitmap before and after
};
Expected<PortraitFromPicture, FileFailure> portraitFromPicture(const QString& archivePath,
                                                               const QImage& picture,
                                                               fsh::FitMode fit,
                                                               const fsh::ReplaceOptions& options);
