#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

#include "common/expected.h"
#include "fsh/fit_picture.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"

// How a picture becomes the portrait: fitted to the portrait's size, then
// stored in a pixel format with a number of mipmap levels.
struct PictureImportSettings {
  fsh::FitMode fitMode = fsh::FitMode::Fill;
  uint8_t code = 0;  // a bitmap code the codec writes
  int mipmapCount = 0;
  bool operator==(const PictureImportSettings&) const = default;
};

// The new portrait for one choice of settings.
struct EncodedPortrait {
  QByteArray image;  // the whole FSH image, as the archive will hold it
  QImage decoded;    // its main bitmap read back: what the game will show
};

// A picture on its way into an archive's portrait. It keeps the portrait it
// replaces, so that everything but the bitmap stays as it was, and the last
// result, so that the settings a dialog previewed are not encoded twice.
class PictureImport {
 public:
  // Fails with the codec's reason when the portrait is no FSH image with a
  // bitmap to replace. A bitmap the codec cannot decode still gives its size.
  static Expected<PictureImport, fsh::Error> prepare(const QByteArray& portrait, QImage picture,
                                                     QString pictureName);

  const QImage& picture() const { return m_picture; }
  const QString& pictureName() const { return m_pictureName; }
  QSize portraitSize() const { return m_portraitSize; }
  uint8_t portraitCode() const { return m_portraitCode; }
  int portraitMipmapCount() const { return m_portraitMipmaps; }
  // The most mipmap levels the portrait's bitmap can take.
  int maxMipmapCount() const { return m_maxMipmaps; }

  // Fill and crop, in the portrait's own format (32-bit ARGB where the codec
  // cannot write that) with its own number of mipmaps.
  PictureImportSettings defaults() const;

  Expected<EncodedPortrait, fsh::Error> encode(const PictureImportSettings& settings);

 private:
  PictureImport() = default;

  fsh::FshFile m_portrait;
  int m_entryIndex = 0;
  QImage m_picture;
  QString m_pictureName;
  QSize m_portraitSize;
  uint8_t m_portraitCode = 0;
  int m_portraitMipmaps = 0;
  int m_maxMipmaps = 0;

  struct Cached {
    PictureImportSettings settings;
    EncodedPortrait result;
  };
  std::optional<Cached> m_last;
};
