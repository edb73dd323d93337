#pragma once

#include <QByteArray>
#include <QString>

#include "common/expected.h"
#include "ui/picture_error.h"

// Whether Export writes a picture to this file rather than the FSH image: its
// name ends in .png, .bmp, .jpg or .jpeg (in any case).
bool isPictureFileName(const QString& path);

// Writes the main bitmap of the archive's portrait, decoded, to targetPath as
// the picture format its name gives. PNG keeps the alpha channel; formats
// without one get the picture over white. The file is replaced as a whole, as
// every written file is: after a failure it is as it was.
Expected<void, PictureError> exportPortraitPicture(const QString& archivePath,
                                                   const QString& targetPath);
