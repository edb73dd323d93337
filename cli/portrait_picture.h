#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "cli/file_failure.h"
#include "cli/picture_tools.h"
#include "common/expected.h"
#include "fsh/describe.h"
#include "fsh/fit_picture.h"
#include "fsh/replace_bitmap.h"

// The portrait of an archive as a picture, and a picture made into the
// portrait: the picture module's work (see picture_tools.h).

// The archive's portrait image, decoded at its full size.
Expected<QImage, FileFailure> portraitPicture(const QString& archivePath);

// The picture as the bytes of a file of the given format: PNG keeps the alpha
// channel, BMP and JPEG (quality 95) get the picture laid on white.
Expected<QByteArray, FileFailure> encodePicture(const QImage& picture, PictureFormat format,
                                                const QString& fileName);

// Reads a picture file in one of the raster formats Qt reads (PNG, BMP, JPEG,
// GIF, WebP, TIFF, ...). Vector formats are refused: drawing them needs fonts
// and a display.
Expected<QImage, FileFailure> readPicture(const QString& path);

// Whether Qt recognises a picture format in a file's first bytes, as
// readPicture recognises it in the whole file.
bool isPicture(const QByteArray& start);

// The archive's own portrait with the picture, fitted to its size, in place of
// its main bitmap.
Expected<ImportedPicture, FileFailure> portraitFromPicture(const QString& archivePath,
                                                           const QImage& picture, fsh::FitMode fit,
                                                           const fsh::ReplaceOptions& options);
