// Writes a roster of portrait archives for trying the programs by hand and for
// timing them:  cpe_make_roster FOLDER [COUNT] [--broken N] [--side N] [--dxt5]
// Each archive is 50 KB with a 256x256 DXT1 portrait and 8 mipmaps, named
// p000000.big, p000001.big, ...; with --broken N, every Nth archive has a bad
// size field (refused on loading) and the one after it a portrait in an
// unknown pixel format (loads, but does not decode). --side N makes the
// portraits N x N (larger archives where they need it), --dxt5 stores them in DXT5.
#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cstdio>

#include "fsh/fsh_layout.h"
#include "support/archive_fixture.h"
#include "support/fsh_fixture.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  int broken = 0;
  if (const qsizetype at = args.indexOf(QStringLiteral("--broken"));
      at >= 0 && at + 1 < args.size()) {
    broken = args.at(at + 1).toInt();
    args.remove(at, 2);
  }
  int side = 256;
  if (const qsizetype at = args.indexOf(QStringLiteral("--side"));
      at >= 0 && at + 1 < args.size()) {
    side = std::clamp(args.at(at + 1).toInt(), 4, 4096);
    args.remove(at, 2);
  }
  const bool dxt5 = args.removeAll(QStringLiteral("--dxt5")) > 0;
  if (args.isEmpty()) {
    std::fputs("usage: cpe_make_roster FOLDER [COUNT] [--broken N] [--side N] [--dxt5]\n", stderr);
    return 2;
  }
  const QDir folder(args.at(0));
  const int count = args.size() > 1 ? args.at(1).toInt() : 40;
  QDir().mkpath(folder.path());
  constexpr int ArchiveSize = 50 * 1024;
  for (int i = 0; i < count; ++i) {
    // A different picture for each archive, so that tiles can be told apart.
    const QImage picture = smoothPicture({side, side}).mirrored(i % 2 == 1, i % 4 >= 2);
    QByteArray image =
        singleBitmap(dxt5 ? fsh::Code::Dxt5 : fsh::Code::Dxt1, picture, side >= 256 ? 8 : 0)
            .build();
    ArchiveFixture fixture;
    fixture.imageLength = static_cast<int32_t>(image.size());
    fixture.trailingBytes = std::max(0, ArchiveSize - fixture.length());
    const QString identifier = QStringLiteral("p%1").arg(i, 6, 10, QLatin1Char('0'));
    fixture.nameTableId = identifier.toLatin1();
    if (broken > 0 && i % broken == broken - 1) fixture.archiveSizeField = 1234;
    QByteArray bytes = fixture.build();
    // A pixel format no decoder knows, in the first bitmap's header (its
    // offset is the directory's first word after the name).
    if (broken > 0 && i % broken == 0 && i > 0) image[image.at(20)] = char(0x77);
    bytes.replace(fixture.offsetOf(4), image.size(), image);
    writeFile(folder.filePath(identifier + QStringLiteral(".big")), bytes);
  }
  return 0;
}
