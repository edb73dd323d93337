// Writes the seed corpora: small archives from the test fixture builder, valid
// ones of both kinds and one for each way an archive can be wrong, and for the
// writing commands the same archives with identifiers, import files and targets
// in the layout their targets read.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "fuzz_inputs.h"
#include "support/archive_fixture.h"

namespace {

struct Archives {
  QByteArray player, jersey, notPortrait, wrongSize, badMarker, notLast, memberAfterImage;
  QByteArray imagePastEnd, markerInImage;
};

Archives seedArchives() {
  Archives archives;
  ArchiveFixture pkg = ArchiveFixture::playerPackage("ab12cd3");
  pkg.nameTableEnd = 24;
  pkg.imageLength = 16;
  archives.player = pkg.build();
  ArchiveFixture jersey = ArchiveFixture::jersey("jer0001");
  jersey.imageLength = 16;
  archives.jersey = jersey.build();
  ArchiveFixture notPortrait = pkg;
  notPortrait.headerLengthRaw = 0x5D000000;
  archives.notPortrait = notPortrait.build();
  ArchiveFixture wrongSize = pkg;
  wrongSize.archiveSizeField = 1;
  archives.wrongSize = wrongSize.build();
  ArchiveFixture badMarker = pkg;
  badMarker.marker = 0;
  archives.badMarker = badMarker.build();
  ArchiveFixture notLast = jersey;
  notLast.trailingBytes = 8;
  archives.notLast = notLast.build();
  // Member 2 moved behind the image: an image of another length cannot replace it.
  ArchiveFixture memberAfter = notLast;
  memberAfter.memberOffsets[1] = memberAfter.offsetOf(4) + memberAfter.imageLength;
  archives.memberAfterImage = memberAfter.build();
  ArchiveFixture pastEnd = pkg;
  pastEnd.imageLengthField = 17;
  archives.imagePastEnd = pastEnd.build();
  // Member 1 moved into the image, with a valid kind marker there: an import
  // may not change it.
  ArchiveFixture markerInImage = pkg;
  markerInImage.memberOffsets[0] = markerInImage.offsetOf(4);
  archives.markerInImage = markerInImage.build();
  archives.markerInImage[markerInImage.offsetOf(4) + archive::ArchiveLayout::MarkerOffset] =
      static_cast<char>(archive::ArchiveLayout::PlayerPackageMarker);
  return archives;
}

QList<QByteArray> loadSeeds(const Archives& a) {
  return {a.player, a.jersey, a.notPortrait, a.wrongSize, a.badMarker, a.notLast};
}

QList<SaveInput> saveSeeds(const Archives& a) {
  using B = SaveBoxes;
  using T = SaveTarget;
  return {
      {B::Player, T::NewFile, "Ab12Cd3", {}, a.player},
      {B::Jersey, T::ExistingFile, "new0001", "an older and longer target file", a.jersey},
      {B::Both,
       T::CurrentArchive,
       "\xc3\x80\xc3\x89\xc3\x8e\xc3\xb5\xc3\xbc"
       "9\xc3\xbf",
       {},
       a.player},
      {B::Jersey,
       T::CurrentArchive,
       "e\xcc\x81"
       "abcdef",
       {},
       a.jersey},
      {B::Player, T::NewFile, "toolong1", {}, a.player},
      {B::Player,
       T::NewFile,
       "\xe2\x82\xac"
       "abcdef",
       {},
       a.jersey},
      {B::Player, T::NewFile, "ab12cd3", {}, a.notPortrait},
      {B::Jersey, T::ExistingFile, "ab12cd3", "old", a.wrongSize},
      {B::Player, T::Folder, "ab12cd3", {}, a.player},
      {B::Neither, T::NewFile, {}, {}, a.jersey},
      {B::Player, T::NewFile, "ab\tcd12", {}, a.player},
  };
}

QList<ImportInput> importSeeds(const Archives& a) {
  return {
      {fshImage(16, std::nullopt, 5), a.player},
      {fshImage(40, std::nullopt, 6), a.jersey},
      {fshImage(8, std::nullopt, 7), a.notPortrait},
      {fshImage(40, std::nullopt, 8), a.notLast},
      {fshImage(40, std::nullopt, 12), a.memberAfterImage},
      {fshImage(16, std::nullopt, 13), a.memberAfterImage},
      {fshImage(16, std::nullopt, 9), a.wrongSize},
      {fshImage(16, 15, 10), a.player},
      {{}, a.jersey},
      {fshImage(16, std::nullopt, 11), a.imagePastEnd},
      {fshImage(16, std::nullopt, 14).replace(0, 4, "BIGF"), a.player},
      {fshImage(16, std::nullopt, 15), a.markerInImage},
  };
}

QList<ExportInput> exportSeeds(const Archives& a) {
  using T = ExportTarget;
  return {
      {T::NewFile, {}, a.player},
      {T::ExistingFile, "an older export that is longer than the image", a.jersey},
      {T::Folder, {}, a.player},
      {T::NewFile, {}, a.wrongSize},
      {T::NewFile, {}, a.imagePastEnd},
      {T::ExistingFile, "old", a.badMarker},
  };
}

void writeSeed(const QString& folder, int index, const QByteArray& bytes) {
  QDir().mkpath(folder);
  QFile file(QStringLiteral("%1/seed-%2").arg(folder).arg(index, 2, 10, QLatin1Char('0')));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
    std::exit(1);
  }
}

// Writes each input encoded, after checking that its target reads it back as
// it was meant.
template <typename Input>
void writeSeeds(const QString& folder, const QList<Input>& inputs) {
  for (int i = 0; i < inputs.size(); ++i) {
    const QByteArray bytes = inputs[i].encode();
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    if (!(Input::parse(data, bytes.size()) == inputs[i])) {
      std::fprintf(stderr, "seed %d of %s does not read back\n", i, qPrintable(folder));
      std::exit(1);
    }
    writeSeed(folder, i, bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_corpus <corpus folder>\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  const Archives archives = seedArchives();
  const QList<QByteArray> load = loadSeeds(archives);
  for (int i = 0; i < load.size(); ++i) writeSeed(root + "/load", i, load[i]);
  writeSeeds(root + "/save", saveSeeds(archives));
  writeSeeds(root + "/import", importSeeds(archives));
  writeSeeds(root + "/export", exportSeeds(archives));
  return 0;
}
