// Writes the seed corpora of the FSH targets from the test fixture builder:
// small images in every bitmap code, with mipmaps in both layouts, palettes in
// every palette code and home, attachments, compressed blocks and files; and
// for RefPack, streams that use every control code and each header form.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "fsh/refpack.h"
#include "support/fsh_fixture.h"

namespace {

constexpr qsizetype MaxSeedSize = 4096;  // scripts/fuzz.sh's -max_len

QList<QByteArray> fshSeeds() {
  QList<QByteArray> seeds;
  const QImage picture = smoothPicture(QSize(8, 8), true);
  for (const uint8_t code : {0x7D, 0x7F, 0x78, 0x7E, 0x6D, 0x60, 0x61, 0x62}) {
    seeds << singleBitmap(code, picture, 2).build()
          << singleBitmap(code, picture, 3, FixtureLevels::Packed).build();
  }
  const QImage indexed =
      fewColoursPicture(QSize(8, 4), 6, 1).convertToFormat(QImage::Format_Indexed8);
  for (const uint8_t paletteCode : {0x22, 0x24, 0x2A, 0x29, 0x2D}) {
    FshFixture attached = singleBitmap(0x7B, indexed, 1);
    attached.entries[0].blocks.append(paletteBlock(paletteCode, indexed.colorTable()));
    seeds << attached.build();
  }
  FshFixture shared = singleBitmap(0x7B, indexed);
  shared.entries.append({"!pal", {paletteBlock(0x2A, indexed.colorTable())}, {}});
  seeds << shared.build();

  FshFixture attachments = singleBitmap(0x78, smoothPicture(QSize(4, 4)));
  FixtureBlock comment;
  comment.code = 0x6F;
  comment.data = "\x01\x00\x00\x00note";
  FixtureBlock name;
  name.code = 0x70;
  name.data = "face";
  FixtureBlock hotSpots;
  hotSpots.code = 0x7C;
  hotSpots.data = QByteArray(8, '\x01');
  attachments.entries[0].blocks << comment << name << hotSpots;
  attachments.entries.append({"img1", {bitmapBlock(0x60, picture)}, QByteArray("tail")});
  attachments.lastDistance = LastDistance::OwnSize;
  seeds << attachments.build();

  FshFixture compressedBlock = singleBitmap(0x7D, picture);
  FixtureBlock& block = compressedBlock.entries[0].blocks[0];
  block.code |= 0x80;
  block.data = *fsh::refpackCompress(block.data);
  seeds << compressedBlock.build();
  seeds << *fsh::refpackCompress(singleBitmap(0x60, picture, 1).build());
  seeds << literalRefpack(singleBitmap(0x7E, smoothPicture(QSize(4, 4))).build(), true);
  FshFixture unknown = singleBitmap(0x7D, picture);
  unknown.entries[0].blocks[0].code = 0x79;
  seeds << unknown.build();
  return seeds;
}

QList<QByteArray> refpackSeeds() {
  QList<QByteArray> seeds;
  const QImage picture = smoothPicture(QSize(16, 16));
  const QByteArray pixels(reinterpret_cast<const char*>(picture.constBits()),
                          picture.sizeInBytes());
  seeds << *fsh::refpackCompress(pixels) << *fsh::refpackCompress(QByteArray(3000, 'a'))
        << *fsh::refpackCompress(QByteArray("0123456789").repeated(200)) << literalRefpack("SHPI")
        << literalRefpack(pixels.left(500), true);
  // The three match codes, a far one, and the header with a compressed size.
  seeds << QByteArray("\x10\xFB\x00\x00\x0C\xE0wxyz\x84\x00\x03\xFC", 14)
        << QByteArray(
               "\x11\xFB\x00\x00\x0F\x00\x01\x30\xE0"
               "0123\xC4\x00\x03\x27\xFC",
               18)
        << QByteArray("\x90\xFB\x00\x00\x00\x0B\x1D\x00x\xFC", 10);
  return seeds;
}

void writeSeeds(const QString& folder, const QList<QByteArray>& seeds) {
  QDir().mkpath(folder);
  for (int i = 0; i < seeds.size(); ++i) {
    if (seeds[i].size() > MaxSeedSize) {
      std::fprintf(stderr, "seed %d of %s has %lld bytes, more than fuzzing reads\n", i,
                   qPrintable(folder), static_cast<long long>(seeds[i].size()));
      std::exit(1);
    }
    QFile file(QStringLiteral("%1/seed-%2").arg(folder).arg(i, 2, 10, QLatin1Char('0')));
    if (!file.open(QIODevice::WriteOnly) || file.write(seeds[i]) != seeds[i].size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
      std::exit(1);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fsh_fuzz_corpus <corpus folder>\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  writeSeeds(root + "/fsh_parse", fshSeeds());
  writeSeeds(root + "/fsh_refpack", refpackSeeds());
  return 0;
}
