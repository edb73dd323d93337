#include "support/fsh_fixture.h"

#include <squish.h>

#include <QtEndian>
#include <cmath>
#include <random>
#include <vector>

namespace {

void putU16(QByteArray& bytes, qsizetype at, uint32_t value) {
  qToLittleEndian<quint16>(quint16(value), bytes.data() + at);
}
void putU32(QByteArray& bytes, qsizetype at, uint32_t value) {
  qToLittleEndian<quint32>(value, bytes.data() + at);
}
void appendBytes(QByteArray& bytes, std::initializer_list<char> values) {
  for (const char c : values) bytes.append(c);
}
qsizetype padded(qsizetype size) { return (size + 15) / 16 * 16; }
void padTo16(QByteArray& bytes) { bytes.append(padded(bytes.size()) - bytes.size(), '\0'); }

int level(int value, int maximum) { return int(std::lround(value * maximum / 255.0)); }
int widen(int q, int maximum) { return int(std::lround(q * 255.0 / maximum)); }

bool isDxt(uint8_t type) { return type >= 0x60 && type <= 0x62; }

QByteArray dxtPixels(uint8_t type, const QImage& picture) {
  std::vector<uchar> rgba;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb c = picture.pixel(x, y);
      rgba.insert(rgba.end(),
                  {uchar(qRed(c)), uchar(qGreen(c)), uchar(qBlue(c)), uchar(qAlpha(c))});
    }
  }
  const int flags = type == 0x60 ? squish::kDxt1 : type == 0x61 ? squish::kDxt3 : squish::kDxt5;
  QByteArray blocks(squish::GetStorageRequirements(picture.width(), picture.height(), flags), '\0');
  squish::CompressImage(rgba.data(), picture.width(), picture.height(), blocks.data(), flags);
  return blocks;
}

}  // namespace

QByteArray FshFixture::build() const {
  QByteArray bytes(16, '\0');
  bytes.replace(0, 4, "SHPI");
  putU32(bytes, 8, entryCountField.value_or(uint32_t(entries.size())));
  bytes.replace(12, 4, directoryId.leftJustified(4, '\0', true));
  bytes.append(entries.size() * 8, '\0');
  bytes += filler;
  padTo16(bytes);
  for (int e = 0; e < entries.size(); ++e) {
    const FixtureEntry& entry = entries[e];
    const qsizetype at = 16 + e * 8;
    bytes.replace(at, 4, entry.name.leftJustified(4, '\0', true));
    putU32(bytes, at + 4, entryOffsetFields.value(e, uint32_t(bytes.size())));
    for (int b = 0; b < entry.blocks.size(); ++b) {
      const FixtureBlock& block = entry.blocks[b];
      const bool last = b + 1 == entry.blocks.size();
      const qsizetype size = 16 + padded(block.data.size());
      uint32_t distance = uint32_t(size);
      if (last)
        distance = lastDistance == LastDistance::Zero ? 0 : uint32_t(size + entry.trailing.size());
      QByteArray header(16, '\0');
      header[0] = char(block.code);
      const uint32_t stored = block.nextDistance.value_or(distance);
      header[1] = char(stored & 0xFF);
      header[2] = char(stored >> 8 & 0xFF);
      header[3] = char(stored >> 16 & 0xFF);
      putU16(header, 4, block.width);
      putU16(header, 6, block.height);
      putU16(header, 8, block.centreX);
      putU16(header, 10, block.centreY);
      putU16(header, 12, block.xWord);
      putU16(header, 14, block.yWord);
      bytes += header + block.data;
      padTo16(bytes);
    }
    bytes += entry.trailing;
  }
  putU32(bytes, 4, lengthField.value_or(uint32_t(bytes.size())));
  return bytes;
}

qsizetype FshFixture::blockOffset(int entry, int block) const {
  qsizetype offset = padded(16 + entries.size() * 8 + filler.size());
  for (int e = 0; e <= entry; ++e) {
    for (int b = 0; b < entries[e].blocks.size(); ++b) {
      if (e == entry && b == block) return offset;
      offset += 16 + padded(entries[e].blocks[b].data.size());
    }
    offset += entries[e].trailing.size();
  }
  return offset;
}

qsizetype FshFixture::entryOffset(int entry) const { return blockOffset(entry, 0); }

FixtureBlock bitmapBlock(uint8_t type, const QImage& picture, int mipmaps, FixtureLevels layout) {
  FixtureBlock block;
  block.code = type;
  block.width = uint16_t(picture.width());
  block.height = uint16_t(picture.height());
  block.yWord = uint16_t(mipmaps << 12);
  block.data = fixtureLevels(type, fixtureMipmaps(picture, mipmaps), layout);
  return block;
}

FixtureBlock paletteBlock(uint8_t type, const QList<QRgb>& colours) {
  FixtureBlock block;
  block.code = type;
  block.width = uint16_t(colours.size());
  block.height = 1;
  block.data = fixturePalette(type, colours);
  return block;
}

FshFixture singleBitmap(uint8_t type, const QImage& picture, int mipmaps, FixtureLevels layout) {
  FshFixture fixture;
  fixture.entries = {FixtureEntry{"img0", {bitmapBlock(type, picture, mipmaps, layout)}, {}}};
  return fixture;
}

QImage indexedPicture(const QImage& picture) {
  if (picture.format() == QImage::Format_Indexed8) return picture;
  // Qt's own conversion of a picture with alpha quantises to a colour cube.
  QList<QRgb> table;
  QImage indexed(picture.size(), QImage::Format_Indexed8);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb colour = picture.pixel(x, y);
      qsizetype index = table.indexOf(colour);
      if (index < 0) {
        index = table.size();
        table.append(colour);
        indexed.setColorTable(table);
      }
      indexed.setPixel(x, y, uint(index));
    }
  }
  return indexed;
}

QByteArray fixturePixels(uint8_t type, const QImage& picture) {
  if (isDxt(type)) return dxtPixels(type, picture.convertToFormat(QImage::Format_ARGB32));
  // Only an indexed picture has indices; pixelIndex() on another warns for every pixel.
  const QImage indexed = type == 0x7B ? indexedPicture(picture) : picture;
  QByteArray bytes;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (type == 0x7B) {
        bytes.append(char(indexed.pixelIndex(x, y)));
        continue;
      }
      const QRgb c = picture.pixel(x, y);
      const int a = qAlpha(c), r = qRed(c), g = qGreen(c), b = qBlue(c);
      uint32_t word = 0;
      switch (type) {
        case 0x7D:
          appendBytes(bytes, {char(b), char(g), char(r), char(a)});
          continue;
        case 0x7F:
          appendBytes(bytes, {char(b), char(g), char(r)});
          continue;
        case 0x78:
          word = level(r, 31) << 11 | level(g, 63) << 5 | level(b, 31);
          break;
        case 0x7E:
          word = (a >= 128 ? 0x8000 : 0) | level(r, 31) << 10 | level(g, 31) << 5 | level(b, 31);
          break;
        case 0x6D:
          word = level(a, 15) << 12 | level(r, 15) << 8 | level(g, 15) << 4 | level(b, 15);
          break;
      }
      appendBytes(bytes, {char(word & 0xFF), char(word >> 8)});
    }
  }
  return bytes;
}

QRgb quantisedColour(uint8_t type, QRgb c) {
  const int a = qAlpha(c), r = qRed(c), g = qGreen(c), b = qBlue(c);
  auto q = [](int v, int maximum) { return widen(level(v, maximum), maximum); };
  switch (type) {
    case 0x78:
      return qRgba(q(r, 31), q(g, 63), q(b, 31), 255);
    case 0x7E:
      return qRgba(q(r, 31), q(g, 31), q(b, 31), a >= 128 ? 255 : 0);
    case 0x6D:
      return qRgba(q(r, 15), q(g, 15), q(b, 15), q(a, 15));
    case 0x7F:
      return qRgba(r, g, b, 255);
    default:
      return c;
  }
}

QList<QImage> fixtureMipmaps(const QImage& picture, int count) {
  QList<QImage> levels{picture};
  for (int i = 1; i <= count; ++i) {
    const QSize size(std::max(1, picture.width() >> i), std::max(1, picture.height() >> i));
    levels.append(picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(picture.format(), picture.colorTable()));
  }
  return levels;
}

QByteArray fixtureLevels(uint8_t type, const QList<QImage>& levels, FixtureLevels layout) {
  QByteArray bytes;
  for (const QImage& image : levels) {
    if (layout == FixtureLevels::Padded) padTo16(bytes);
    bytes += fixturePixels(type, image);
  }
  padTo16(bytes);
  return bytes;
}

QByteArray fixturePalette(uint8_t type, const QList<QRgb>& colours) {
  QByteArray bytes;
  for (const QRgb c : colours) {
    const int a = qAlpha(c), r = qRed(c), g = qGreen(c), b = qBlue(c);
    uint32_t word = 0;
    switch (type) {
      case 0x22:
        appendBytes(bytes, {char(r >> 2), char(g >> 2), char(b >> 2)});
        continue;
      case 0x24:
        appendBytes(bytes, {char(r), char(g), char(b)});
        continue;
      case 0x2A:
        appendBytes(bytes, {char(b), char(g), char(r), char(a)});
        continue;
      case 0x29:
        word = level(r, 31) << 11 | level(g, 63) << 5 | level(b, 31);
        break;
      case 0x2D:
        word = (a >= 128 ? 0x8000 : 0) | level(r, 31) << 10 | level(g, 31) << 5 | level(b, 31);
        break;
    }
    appendBytes(bytes, {char(word & 0xFF), char(word >> 8)});
  }
  return bytes;
}

QByteArray literalRefpack(const QByteArray& bytes, bool sizePrefix) {
  QByteArray stream;
  if (sizePrefix) {
    stream.resize(4);
    putU32(stream, 0, uint32_t(bytes.size()));
  }
  const qsizetype size = bytes.size();
  appendBytes(stream, {char(0x10), char(0xFB), char(size >> 16), char(size >> 8 & 0xFF),
                       char(size & 0xFF)});
  qsizetype at = 0;
  while (size - at >= 4) {
    const qsizetype run = std::min<qsizetype>(112, (size - at) / 4 * 4);
    stream.append(char(0xE0 + (run - 4) / 4));
    stream += bytes.mid(at, run);
    at += run;
  }
  stream.append(char(0xFC + (size - at)));
  stream += bytes.mid(at);
  return stream;
}

QImage smoothPicture(QSize size, bool withAlpha) {
  QImage image(size, QImage::Format_ARGB32);
  const double w = size.width(), h = size.height();
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      const double u = x / w, v = y / h;
      const double r = 0.5 + 0.35 * std::sin(2.1 * u * M_PI + 0.4) * std::cos(1.3 * v * M_PI);
      const double g = 0.2 + 0.6 * u * v + 0.15 * std::sin(3.0 * (u + v));
      const double b = 0.6 - 0.4 * v + 0.1 * std::cos(5.0 * u * M_PI);
      const double a = withAlpha ? 0.5 + 0.5 * std::sin(2.0 * u * M_PI) * std::sin(v * M_PI) : 1.0;
      auto channel = [](double value) { return std::clamp(int(std::lround(value * 255)), 0, 255); };
      image.setPixel(x, y, qRgba(channel(r), channel(g), channel(b), channel(a)));
    }
  }
  return image;
}

QImage noisePicture(QSize size, uint32_t seed, bool withAlpha) {
  std::mt19937 random(seed);
  QImage image(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      const uint32_t bits = random();
      image.setPixel(x, y, withAlpha ? bits : (bits | 0xFF000000u));
    }
  }
  return image;
}

QImage fewColoursPicture(QSize size, int colours, uint32_t seed) {
  std::mt19937 random(seed);
  QList<QRgb> table;
  for (int i = 0; i < colours; ++i) table.append(random() | 0xFF000000u);
  QImage image(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) image.setPixel(x, y, table[random() % colours]);
  }
  return image;
}

double psnr(const QImage& a, const QImage& b) {
  double squares = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
        squares += d * d;
      }
    }
  }
  const double mse = squares / (3.0 * a.width() * a.height());
  return mse == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 / mse);
}

int largestChannelDifference(const QImage& a, const QImage& b) {
  int largest = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      for (const int d :
           {qAlpha(p) - qAlpha(q), qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
        largest = std::max(largest, std::abs(d));
      }
    }
  }
  return largest;
}
