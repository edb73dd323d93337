#include "portrait/picture_import.h"

#include <QCoreApplication>

#include "fsh/describe.h"
#include "fsh/fsh_layout.h"
#include "fsh/pixel_formats.h"

namespace portrait {

namespace {

// Mipmap levels halve both sides, so each side must divide by 2^count; a
// bitmap whose data RefPack packs, or that sits at a y position other than 0,
// has room for none.
int maxMipmapsOf(const fsh::Block& block) {
  if (block.isCompressed() || (block.yWord & fsh::Layout::PositionMask) != 0) return 0;
  int count = 0;
  while (count < fsh::Layout::MaxMipmaps) {
    const int unit = 2 << count;
    if (block.width % unit != 0 || block.height % unit != 0) break;
    ++count;
  }
  return count;
}

}  // namespace

Expected<PictureImport, fsh::Error> PictureImport::prepare(const QByteArray& portrait,
                                                           QImage picture, QString pictureName) {
  auto file = fsh::parseFsh(portrait);
  if (!file) return Unexpected(std::move(file).error());
  const auto bitmap = fsh::describe(*file);
  if (!bitmap) return Unexpected(bitmap.error());
  if (bitmap->width <= 0 || bitmap->height <= 0) {
    return Unexpected(
        fsh::makeError(fsh::ErrorKind::Malformed,
                       QCoreApplication::translate("portrait", "its bitmap is %1x%2 pixels")
                           .arg(bitmap->width)
                           .arg(bitmap->height)));
  }
  PictureImport import;
  import.m_description = *bitmap;
  import.m_portraitSize = QSize(bitmap->width, bitmap->height);
  import.m_portraitCode = bitmap->code;
  import.m_portraitMipmaps = bitmap->mipmapCount;
  import.m_maxMipmaps = maxMipmapsOf(file->entries[bitmap->entryIndex].blocks.first());
  import.m_encoder = std::make_shared<PortraitEncoder>(std::move(*file), bitmap->entryIndex,
                                                       picture, import.m_portraitSize);
  import.m_picture = std::move(picture);
  import.m_pictureName = std::move(pictureName);
  return import;
}

ImportSettings PictureImport::defaults() const {
  const uint8_t code =
      fsh::isBitmapCode(m_portraitCode) ? m_portraitCode : uint8_t(fsh::Code::Argb8888);
  return {FitMode::Fill, code, m_portraitMipmaps};
}

Expected<EncodedPortrait, fsh::Error> PictureImport::encode(const ImportSettings& settings) {
  if (auto result = kept(settings)) return std::move(*result);
  auto result = m_encoder->encode(settings, fsh::DxtQuality::Best);
  if (result) keep(settings, *result);
  return result;
}

void PictureImport::keep(const ImportSettings& settings, const EncodedPortrait& result) {
  m_last = Cached{settings, result};
}

std::optional<EncodedPortrait> PictureImport::kept(const ImportSettings& settings) const {
  if (m_last && m_last->settings == settings) return m_last->result;
  return std::nullopt;
}

Expected<ImportedPortrait, Error> portraitFromPicture(const QByteArray& portrait,
                                                      const QImage& picture,
                                                      const ImportChoice& choice) {
  auto import = PictureImport::prepare(portrait, picture, {});
  if (!import) return Unexpected(Error::codec(std::move(import).error()));
  ImportSettings settings = import->defaults();
  settings.fitMode = choice.fitMode;
  if (choice.code) settings.code = *choice.code;
  if (choice.mipmapCount) settings.mipmapCount = *choice.mipmapCount;
  settings.crop = choice.crop;
  if (picture.isNull()) return Unexpected(Error::picture(Error::PictureProblem::Empty));
  // Cut to the picture, a crop would show less than was asked for.
  if (!choice.crop.isEmpty() && !picture.rect().contains(choice.crop)) {
    Error error = Error::picture(Error::PictureProblem::CropOutside);
    error.size = picture.size();
    return Unexpected(std::move(error));
  }
  auto encoded = import->encode(settings);
  if (!encoded) return Unexpected(Error::codec(std::move(encoded).error()));
  const auto written = fsh::parseFsh(encoded->image);
  if (!written) return Unexpected(Error::codec(written.error()));
  const auto after = fsh::describe(*written);
  if (!after) return Unexpected(Error::codec(after.error()));
  return ImportedPortrait{std::move(encoded->image), import->portraitDescription(), *after};
}

}  // namespace portrait
