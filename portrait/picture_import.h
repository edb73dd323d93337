#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "common/expected.h"
#include "fsh/describe.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"
#include "portrait/import_settings.h"
#include "portrait/portrait_encoder.h"
#include "portrait/portrait_error.h"

namespace portrait {

// A picture on its way into an archive's portrait. It keeps the portrait it
// replaces, so that everything but the bitmap stays as it was, and the result
// to be written, so that the settings a dialog previewed are not encoded twice.
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
  // The main bitmap of the portrait the picture replaces.
  const fsh::BitmapDescription& portraitDescription() const { return m_description; }
  // The most mipmap levels the portrait's bitmap can take.
  int maxMipmapCount() const { return m_maxMipmaps; }

  // Fill and crop, in the portrait's own format (32-bit ARGB where the codec
  // cannot write that) with its own number of mipmaps.
  ImportSettings defaults() const;

  // The portrait as the archive will get it (the best DXT quality).
  Expected<EncodedPortrait, fsh::Error> encode(const ImportSettings& settings);
  // Takes a result made elsewhere, at the best quality, as that of the settings.
  void keep(const ImportSettings& settings, const EncodedPortrait& result);
  // The kept result of these settings, if they are the last ones encoded.
  std::optional<EncodedPortrait> kept(const ImportSettings& settings) const;

  // What encodes this picture, for threads that make previews of it.
  const std::shared_ptr<PortraitEncoder>& encoder() const { return m_encoder; }

 private:
  PictureImport() = default;

  std::shared_ptr<PortraitEncoder> m_encoder;
  fsh::BitmapDescription m_description;
  QImage m_picture;
  QString m_pictureName;
  QSize m_portraitSize;
  uint8_t m_portraitCode = 0;
  int m_portraitMipmaps = 0;
  int m_maxMipmaps = 0;

  struct Cached {
    ImportSettings settings;
    EncodedPortrait result;
  };
  std::optional<Cached> m_last;
};

// What a picture changes in a portrait, when nothing asks otherwise: none
// keeps the portrait's own pixel format (32-bit ARGB where the codec cannot
// write that) or number of mipmaps; an empty crop fits the whole picture.
struct ImportChoice {
  FitMode fitMode = FitMode::Fill;
  std::optional<uint8_t> code;
  std::optional<int> mipmapCount;
  QRect crop = {};  // in the picture's pixels, wholly inside it (else CropOutside)
};

// A portrait image made from a picture: the old portrait with the picture in
// place of its main bitmap, and that bitmap described before and after.
struct ImportedPortrait {
  QByteArray image;
  fsh::BitmapDescription before, after;
};

// The picture made into the portrait, as the window's Import picture dialog
// makes it when OK is pressed with these settings.
Expected<ImportedPortrait, Error> portraitFromPicture(const QByteArray& portrait,
                                                      const QImage& picture,
                                                      const ImportChoice& choice);

}  // namespace portrait
