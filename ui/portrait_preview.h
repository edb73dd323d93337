#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "fsh/describe.h"
#include "fsh/fsh_error.h"

// What the portrait window shows of an archive's portrait.
struct PortraitPreview {
  QImage picture;   // the main bitmap, decoded; null when it cannot be shown
  QString details;  // "256 x 256 - DXT5 - 8 mipmaps"; empty when the image holds no bitmap
  QString problem;  // why there is no picture, in plain words; empty when there is one
};

// Reads the portrait of the archive at archivePath and decodes it.
PortraitPreview previewPortrait(const QString& archivePath);
// The same for an FSH image in memory.
PortraitPreview previewImage(const QByteArray& image);

// "256 x 256 - DXT5 - 8 mipmaps - compressed": size, pixel format, mipmap
// levels below the bitmap, and "compressed" when RefPack packs the file or
// the bitmap's data.
QString bitmapDetails(const fsh::BitmapDescription& bitmap);

// Why the codec could not read an image, as a sentence about "the <subject>":
// "The portrait is damaged (block at 0x40: ...)."
QString codecProblem(const QString& subject, const fsh::Error& error);
