#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "common/expected.h"
#include "portrait/portrait_error.h"
#include "portrait/portrait_picture.h"

namespace portrait {

// What a file manager asks for when it gives no size.
inline constexpr int DefaultThumbnailSize = 128;

// The size a picture of size is shown at so that its longer side is
// longerSide, its aspect kept; a picture smaller than that keeps its own size,
// as enlarging it would only blur it.
QSize thumbnailSize(QSize size, int longerSide);

// The main bitmap of the portrait in the file at path, an archive or an FSH
// image (RefPack-compressed too), told by its content, scaled smoothly to
// thumbnailSize().
Expected<QImage, Error> thumbnailPicture(const QString& path, int longerSide);

// The same as the bytes of a PNG file, to be written to targetPath; nothing is
// written. The input itself, under any name, is refused as the target
// (TargetIsArchive).
Expected<PictureFile, Error> thumbnailFile(const QString& path, const QString& targetPath,
                                           int longerSide);

}  // namespace portrait
