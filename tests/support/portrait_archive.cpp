#include "support/portrait_archive.h"

#include "support/fsh_fixture.h"

QByteArray archiveWithPortrait(ArchiveFixture fixture, const QByteArray& image) {
  fixture.imageLength = static_cast<int32_t>(image.size());
  fixture.memberSizes[3] = fixture.imageLength;
  QByteArray bytes = fixture.build();
  bytes.replace(fixture.offsetOf(4), image.size(), image);
  return bytes;
}

QByteArray samplePortrait(uint8_t code, QSize size, int mipmaps) {
  return singleBitmap(code, smoothPicture(size), mipmaps).build();
}
