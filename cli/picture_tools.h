#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

#include "cli/file_failure.h"
#include "common/expected.h"
#include "fsh/describe.h"
#include "fsh/fit_picture.h"

// The command line's picture work: the portrait decoded into a picture file,
// a picture file made into the portrait. It needs Qt Gui, whose loading takes
// as long as listing a thousand archives, so it lives in a module that is
// loaded only when a command asks for a picture.

enum class PictureFormat { Png, Bmp, Jpeg };

// The picture format a file name asks for by its extension (.png, .bmp, .jpg or
// .jpeg, in any case), if any.
std::optional<PictureFormat> pictureFormatForPath(const QString& path);

// Whether a file name ends in the extension of a picture format that export
// does not write (.gif, .webp, .tif, ...): FSH bytes under such a name would
// pass for a picture.
bool namesOtherPictureFormat(const QString& path);

struct ExportedPicture {
  QByteArray bytes;  // the picture file's
  QSize size;
};

struct PictureFit {
  fsh::FitMode fit = fsh::FitMode::Fill;
  std::optional<uint8_t> code;     // none: the portrait's own
  std::optional<int> mipmapCount;  // none: the portrait's own
};

// A portrait image made from a picture: the archive's own portrait with the
// picture, fitted to its size, in place of its main bitmap.
struct ImportedPicture {
  QByteArray image;                      // a complete FSH image
  fsh::BitmapDescription before, after;  // the main bitmap before and after
};

struct PictureTools {
  // The archive's portrait, decoded, as the bytes of a picture file named fileName.
  Expected<ExportedPicture, FileFailure> (*exportPicture)(const QString& archivePath,
                                                          PictureFormat format,
                                                          const QString& fileName);
  // The picture file made into the archive's portrait; nothing is written.
  Expected<ImportedPicture, FileFailure> (*importPicture)(const QString& archivePath,
                                                          const QString& picturePath,
                                                          const PictureFit& fit);
  // Whether Qt recognises a picture format in a file's first bytes.
  bool (*isPicture)(const QByteArray& start);
};

// The module's tools, loaded on first use from beside the program or from its
// installed folder; the failure says why they cannot be.
Expected<const PictureTools*, FileFailure> pictureTools();
