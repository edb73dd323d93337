// Writes the seed corpora: small archives from the test fixture builder, valid
// ones of both kinds and one for each way an archive can be wrong.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "support/archive_fixture.h"

namespace {

QList<QByteArray> SeedArchives() {
  QList<QByteArray> seeds;
  ArchiveFixture pkg = ArchiveFixture::PlayerPackage("ab12cd3");
  pkg.NameTableEnd = 24;
  pkg.ImageLength = 16;
  seeds << pkg.Build();
  ArchiveFixture jersey = ArchiveFixture::Jersey("jer0001");
  jersey.ImageLength = 16;
  seeds << jersey.Build();
  ArchiveFixture notPortrait = pkg;
  notPortrait.HeaderLengthRaw = 0x5D000000;
  seeds << notPortrait.Build();
  ArchiveFixture wrongSize = pkg;
  wrongSize.ArchiveSizeField = 1;
  seeds << wrongSize.Build();
  ArchiveFixture badMarker = pkg;
  badMarker.Marker = 0;
  seeds << badMarker.Build();
  ArchiveFixture notLast = jersey;
  notLast.TrailingBytes = 8;
  seeds << notLast.Build();
  return seeds;
}

void WriteSeed(const QString& folder, int index, const QByteArray& bytes) {
  QDir().mkpath(folder);
  QFile file(QStringLiteral("%1/seed-%2").arg(folder).arg(index, 2, 10, QLatin1Char('0')));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_corpus <corpus folder>\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  const QList<QByteArray> archives = SeedArchives();
  for (int i = 0; i < archives.size(); ++i) WriteSeed(root + "/load", i, archives[i]);
  return 0;
}
