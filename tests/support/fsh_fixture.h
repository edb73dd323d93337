#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMap>
#include <QRgb>
#include <QSize>
#include <cstdint>
#include <optional>

// Builds FSH images for tests byte by byte, without the codec: every header
// field can be set, pixels are encoded by plain per-format code here (DXT by
// libsquish), and compressed data is written as literal-only RefPack.
//   header (16) | directory (8 per entry) | filler | entries, each a chain of
//   blocks (16-byte header, data padded to 16 bytes) and its trailing bytes

struct FixtureBlock {
  uint8_t code = 0x7D;  // as stored: 0x80 set means `data` is a RefPack stream
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t centreX = 0;
  uint16_t centreY = 0;
  uint16_t xWord = 0;
  uint16_t yWord = 0;
  QByteArray data;
  std::optional<uint32_t>
      nextDistance;  // default: the distance to the next block (see LastDistance)
};

struct FixtureEntry {
  QByteArray name = "img0";
  QList<FixtureBlock> blocks;
  QByteArray trailing;  // after the last block, before the next entry
};

// What the last block of an entry stores as its next distance.
enum class LastDistance { Zero, OwnSize };

// Where a bitmap's mipmap levels go: each at a 16-byte boundary, or back to back.
enum class FixtureLevels { Padded, Packed };

struct FshFixture {
  QByteArray directoryId = "GIMX";
  QByteArray filler = "fixture filler";  // after the directory, then zeros to a 16-byte boundary
  QList<FixtureEntry> entries;
  LastDistance lastDistance = LastDistance::Zero;
  std::optional<uint32_t> lengthField;      // default: the real length
  std::optional<uint32_t> entryCountField;  // default: entries.size()
  QMap<int, uint32_t> entryOffsetFields;    // directory offsets to write instead of the real ones

  QByteArray build() const;
  qsizetype entryOffset(int entry) const;
  qsizetype blockOffset(int entry, int block) const;
};

// A file with one entry "img0" holding one bitmap of the picture and `mipmaps` levels.
FshFixture singleBitmap(uint8_t type, const QImage& picture, int mipmaps = 0,
                        FixtureLevels layout = FixtureLevels::Padded);
// A block for a bitmap: header fields and its levels' pixels.
FixtureBlock bitmapBlock(uint8_t type, const QImage& picture, int mipmaps = 0,
                         FixtureLevels layout = FixtureLevels::Padded);
FixtureBlock paletteBlock(uint8_t type, const QList<QRgb>& colours);

// One level's pixels in a bitmap code, each channel rounded to the nearest value the
// code stores. Indexed8 writes the indices of indexedPicture(picture).
QByteArray fixturePixels(uint8_t type, const QImage& picture);
// A Format_Indexed8 picture as it is; another, of at most 256 colours, as one
// whose colour table holds exactly its colours, in the order they first appear.
QImage indexedPicture(const QImage& picture);
// The picture and `count` levels below it, each scaled by Qt from the picture.
QList<QImage> fixtureMipmaps(const QImage& picture, int count);
QByteArray fixtureLevels(uint8_t type, const QList<QImage>& levels, FixtureLevels layout);
QByteArray fixturePalette(uint8_t type, const QList<QRgb>& colours);
// What a reader should show for a pixel stored in a 16-bit code (round(q * 255 / max)).
QRgb quantisedColour(uint8_t type, QRgb colour);

// RefPack with literal runs only; optionally after a 4-byte little-endian size.
QByteArray literalRefpack(const QByteArray& bytes, bool sizePrefix = false);

// Pictures: photo-like (gentle gradients and waves), random pixels, few colours.
QImage smoothPicture(QSize size, bool withAlpha = false);
QImage noisePicture(QSize size, uint32_t seed, bool withAlpha = true);
QImage fewColoursPicture(QSize size, int colours, uint32_t seed);

// Peak signal-to-noise ratio over the R, G and B channels, in dB.
double psnr(const QImage& a, const QImage& b);
// The largest difference of any channel of any pixel; both pictures ARGB32 of one size.
int largestChannelDifference(const QImage& a, const QImage& b);
