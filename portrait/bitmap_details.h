#pragma once

#include <QString>

#include "fsh/describe.h"

namespace portrait {

// "256 x 256 - DXT5 - 8 mipmaps - compressed": size, pixel format, mipmap
// levels below the bitmap, and "compressed" when RefPack packs the file or
// the bitmap's data. How both front ends describe a bitmap in a sentence.
QString bitmapDetails(const fsh::BitmapDescription& bitmap);

}  // namespace portrait
