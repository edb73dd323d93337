#include "portrait/portrait_encoder.h"

#include <QCoreApplication>

#include "fsh/bitmap_decoder.h"
#include "fsh/level_codec.h"
#include "fsh/pixel_formats.h"
#include "fsh/replace_bitmap.h"
#include "portrait/fit_picture.h"

namespace portrait {

fsh::DxtQuality qualityFor(uint8_t code, fsh::DxtQuality wanted) {
  return fsh::isDxtCode(code) ? wanted : fsh::DxtQuality::Best;
}

PortraitEncoder::PortraitEncoder(fsh::FshFile portrait, int entryIndex, QImage picture,
                                 QSize portraitSize)
    : m_portrait(std::move(portrait)),
      m_entryIndex(entryIndex),
      m_picture(std::move(picture)),
      m_portraitSize(portraitSize) {}

Expected<EncodedPortrait, fsh::Error> PortraitEncoder::encode(const ImportSettings& settings,
                                                              fsh::DxtQuality wanted,
                                                              fsh::EncodeProgress* progress) {
  const FitKey fit{settings.fitMode, settings.crop};
  const QImage fitted = m_cache.fitted(
      fit, [&] { return fitPicture(m_picture, m_portraitSize, settings.fitMode, settings.crop); });
  if (fitted.isNull()) {
    return Unexpected(
        fsh::makeError(fsh::ErrorKind::InvalidRequest,
                       QCoreApplication::translate("portrait", "the picture is empty")));
  }
  fsh::ReplaceOptions options;
  options.code = settings.code;
  options.mipmapCount = settings.mipmapCount;
  options.encodeLevel = [&](uint8_t type, int level,
                            const QImage& picture) -> std::optional<QByteArray> {
    const fsh::DxtQuality quality = qualityFor(type, wanted);
    if (auto kept = m_cache.level(fit, type, quality, level)) {
      if (progress != nullptr && !progress->advance(qint64(picture.width()) * picture.height()))
        return std::nullopt;
      return kept;
    }
    auto bytes = fsh::encodeLevel(type, picture, quality, progress);
    if (bytes) m_cache.keepLevel(fit, type, quality, level, *bytes);
    return bytes;
  };
  auto image = fsh::replaceBitmap(m_portrait, m_entryIndex, fitted, options);
  if (!image) return Unexpected(std::move(image).error());
  // Read back, so that what is shown is what the archive will hold.
  const auto written = fsh::parseFsh(*image);
  if (!written) return Unexpected(written.error());
  auto decoded = fsh::decodeBitmap(*written, m_entryIndex);
  if (!decoded) return Unexpected(std::move(decoded).error());
  return EncodedPortrait{std::move(*image), std::move(*decoded)};
}

bool PortraitEncoder::isEncoded(const ImportSettings& settings, fsh::DxtQuality wanted) const {
  const FitKey fit{settings.fitMode, settings.crop};
  const fsh::DxtQuality quality = qualityFor(settings.code, wanted);
  for (int level = 0; level <= settings.mipmapCount; ++level) {
    if (!m_cache.level(fit, settings.code, quality, level)) return false;
  }
  return true;
}

qint64 PortraitEncoder::pixelCount(const ImportSettings& settings) const {
  qint64 count = 0;
  for (int level = 0; level <= settings.mipmapCount; ++level) {
    count += qint64(std::max(1, m_portraitSize.width() >> level)) *
             std::max(1, m_portraitSize.height() >> level);
  }
  return count;
}

}  // namespace portrait
