#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "common/expected.h"
#include "portrait/picture_names.h"
#include "portrait/portrait_error.h"

namespace portrait {

// The main bitmap of the archive's portrait, decoded at its full size.
Expected<QImage, Error> portraitPicture(const QString& archivePath);

struct PictureFile {
  QByteArray bytes;
  QSize size;
};

// The archive's portrait as the bytes of a picture file of the format, to be
// written to targetPath; nothing is written. PNG keeps the alpha channel; BMP
// and JPEG (quality 95) get it laid on white. The archive itself, under any
// name, is refused as the target (TargetIsArchive): the picture would replace
// all of it.
Expected<PictureFile, Error> portraitPictureFile(const QString& archivePath,
                                                 const QString& targetPath, PictureFormat format);

// Writes the portrait to targetPath as the picture its suffix names, replacing
// the file as a whole: after a failure it is as it was. The archive itself,
// under any name, is refused (TargetIsArchive).
Expected<void, Error> exportPortraitPicture(const QString& archivePath, const QString& targetPath);

}  // namespace portrait
