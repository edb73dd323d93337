#include "ui/portrait_preview.h"

#include "archive/portrait_image.h"
#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"

QString bitmapDetails(const fsh::BitmapDescription& bitmap) {
  const QString mipmaps = bitmap.mipmapCount == 0 ? QStringLiteral("no mipmaps")
                          : bitmap.mipmapCount == 1
                              ? QStringLiteral("1 mipmap")
                              : QStringLiteral("%1 mipmaps").arg(bitmap.mipmapCount);
  QString details = QStringLiteral("%1 x %2 - %3 - %4")
                        .arg(bitmap.width)
                        .arg(bitmap.height)
                        .arg(bitmap.formatName, mipmaps);
  // DXT is a compression of its own; "compressed" speaks of RefPack only, and
  // an image without it simply does not say so.
  if (bitmap.fileCompressed || bitmap.blockCompressed) details += QStringLiteral(" - compressed");
  return details;
}

QString codecProblem(const QString& subject, const fsh::Error& error) {
  const QString The = QStringLiteral("The ") + subject;
  switch (error.kind) {
    case fsh::ErrorKind::NotFsh:
      return The + QStringLiteral(" is not an FSH image.");
    case fsh::ErrorKind::Malformed:
      return The + QStringLiteral(" is damaged (%1).").arg(error.message);
    case fsh::ErrorKind::TooLarge:
      return The + QStringLiteral(" is larger than the editor can handle (%1).").arg(error.message);
    case fsh::ErrorKind::Unsupported:
      return The + QStringLiteral(" uses a pixel format the editor does not know (%1).")
                       .arg(error.message);
    case fsh::ErrorKind::InvalidRequest:
      break;
  }
  return The + QStringLiteral(" cannot be used: %1.").arg(error.message);
}

PortraitPreview previewImage(const QByteArray& image) {
  PortraitPreview preview;
  const auto file = fsh::parseFsh(image);
  if (!file) {
    preview.problem = codecProblem(QStringLiteral("portrait"), file.error());
    return preview;
  }
  const auto bitmap = fsh::describe(*file);
  if (!bitmap) {
    preview.problem = codecProblem(QStringLiteral("portrait"), bitmap.error());
    return preview;
  }
  preview.details = bitmapDetails(*bitmap);
  auto picture = fsh::decodeBitmap(*file, bitmap->entryIndex);
  if (!picture) {
    preview.problem = codecProblem(QStringLiteral("portrait"), picture.error());
    return preview;
  }
  preview.picture = std::move(*picture);
  return preview;
}

PortraitPreview previewPortrait(const QString& archivePath) {
  const auto image = readPortrait(archivePath);
  if (!image) {
    PortraitPreview preview;
    preview.problem =
        QStringLiteral("The portrait cannot be read: %1.").arg(describe(image.error()));
    return preview;
  }
  return previewImage(*image);
}
