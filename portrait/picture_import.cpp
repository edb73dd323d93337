#include "portrait/picture_import.h"

#include <QCoreApplication>

#include "fsh/bitmap_decoder.h"
#include "fsh/describe.h"
#include "fsh/fsh_layout.h"
#include "fsh/pixel_formats.h"
#include "fsh/replace_bitmap.h"
#include "portrait/fit_picture.h"

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
  import.m_entryIndex = bitmap->entryIndex;
  import.m_portraitSize = QSize(bitmap->width, bitmap->height);
  import.m_portraitCode = bitmap->code;
  import.m_portraitMipmaps = bitmap->mipmapCount;
  import.m_maxMipmaps = maxMipmapsOf(file->entries[bitmap->entryIndex].blocks.first());
  import.m_portrait = std::move(*file);
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
  if (m_last && m_last->settings == settings) return m_last->result;
  const QImage fitted = fitPicture(m_picture, m_portraitSize, settings.fitMode, settings.crop);
  if (fitted.isNull()) {
    return Unexpected(
        fsh::makeError(fsh::ErrorKind::InvalidRequest,
                       QCoreApplication::translate("portrait", "the picture is empty")));
  }
  fsh::ReplaceOptions options;
  options.code = settings.code;
  options.mipmapCount = settings.mipmapCount;
  auto image = fsh::replaceBitmap(m_portrait, m_entryIndex, fitted, options);
  if (!image) return Unexpected(std::move(image).error());
  // Read back, so that what is shown is what the archive will hold.
  const auto written = fsh::parseFsh(*image);
  if (!written) return Unexpected(written.error());
  auto decoded = fsh::decodeBitmap(*written, m_entryIndex);
  if (!decoded) return Unexpected(std::move(decoded).error());
  m_last = Cached{settings, {std::move(*image), std::move(*decoded)}};
  return m_last->result;
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
