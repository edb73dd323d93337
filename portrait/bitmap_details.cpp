#include "portrait/bitmap_details.h"

#include <QCoreApplication>

namespace portrait {

QString bitmapDetails(const fsh::BitmapDescription& bitmap) {
  const QString mipmaps =
      bitmap.mipmapCount == 0 ? QCoreApplication::translate("portrait", "no mipmaps")
      : bitmap.mipmapCount == 1
          ? QCoreApplication::translate("portrait", "1 mipmap")
          : QCoreApplication::translate("portrait", "%1 mipmaps").arg(bitmap.mipmapCount);
  QString details = QCoreApplication::translate("portrait", "%1 x %2 - %3 - %4")
                        .arg(bitmap.width)
                        .arg(bitmap.height)
                        .arg(bitmap.formatName, mipmaps);
  // DXT is a compression of its own; "compressed" speaks of RefPack only, and
  // an image without it simply does not say so.
  if (bitmap.fileCompressed || bitmap.blockCompressed)
    details += QCoreApplication::translate("portrait", " - compressed");
  return details;
}

}  // namespace portrait
