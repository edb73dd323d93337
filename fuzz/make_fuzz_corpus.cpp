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
  QByteArray Player, Jersey, NotPortrait, WrongSize, BadMarker, NotLast, MemberAfterImage;
  QByteArray ImagePastEnd;
};

Archives SeedArchives() {
  Archives archives;
  ArchiveFixture pkg = ArchiveFixture::PlayerPackage("ab12cd3");
  pkg.NameTableEnd = 24;
  pkg.ImageLength = 16;
  archives.Player = pkg.Build();
  ArchiveFixture jersey = ArchiveFixture::Jersey("jer0001");
  jersey.ImageLength = 16;
  archives.Jersey = jersey.Build();
  ArchiveFixture notPortrait = pkg;
  notPortrait.HeaderLengthRaw = 0x5D000000;
  archives.NotPortrait = notPortrait.Build();
  ArchiveFixture wrongSize = pkg;
  wrongSize.ArchiveSizeField = 1;
  archives.WrongSize = wrongSize.Build();
  ArchiveFixture badMarker = pkg;
  badMarker.Marker = 0;
  archives.BadMarker = badMarker.Build();
  ArchiveFixture notLast = jersey;
  notLast.TrailingBytes = 8;
  archives.NotLast = notLast.Build();
  // Member 2 moved behind the image: an image of another length cannot replace it.
  ArchiveFixture memberAfter = notLast;
  memberAfter.MemberOffsets[1] = memberAfter.OffsetOf(4) + memberAfter.ImageLength;
  archives.MemberAfterImage = memberAfter.Build();
  ArchiveFixture pastEnd = pkg;
  pastEnd.ImageLengthField = 17;
  archives.ImagePastEnd = pastEnd.Build();
  return archives;
}

QList<QByteArray> LoadSeeds(const Archives& a) {
  return {a.Player, a.Jersey, a.NotPortrait, a.WrongSize, a.BadMarker, a.NotLast};
}

QList<SaveInput> SaveSeeds(const Archives& a) {
  using B = SaveBoxes;
  using T = SaveTarget;
  return {
      {B::Player, T::NewFile, "Ab12Cd3", {}, a.Player},
      {B::Jersey, T::ExistingFile, "new0001", "an older and longer target file", a.Jersey},
      {B::Both,
       T::CurrentArchive,
       "\xc3\x80\xc3\x89\xc3\x8e\xc3\xb5\xc3\xbc"
       "9\xc3\xbf",
       {},
       a.Player},
      {B::Jersey,
       T::CurrentArchive,
       "e\xcc\x81"
       "abcdef",
       {},
       a.Jersey},
      {B::Player, T::NewFile, "toolong1", {}, a.Player},
      {B::Player,
       T::NewFile,
       "\xe2\x82\xac"
       "abcdef",
       {},
       a.Jersey},
      {B::Player, T::NewFile, "ab12cd3", {}, a.NotPortrait},
      {B::Jersey, T::ExistingFile, "ab12cd3", "old", a.WrongSize},
      {B::Player, T::Folder, "ab12cd3", {}, a.Player},
      {B::Neither, T::NewFile, {}, {}, a.Jersey},
  };
}

QList<ImportInput> ImportSeeds(const Archives& a) {
  return {
      {FshImage(16, std::nullopt, 5), a.Player},
      {FshImage(40, std::nullopt, 6), a.Jersey},
      {FshImage(8, std::nullopt, 7), a.NotPortrait},
      {FshImage(40, std::nullopt, 8), a.NotLast},
      {FshImage(40, std::nullopt, 12), a.MemberAfterImage},
      {FshImage(16, std::nullopt, 13), a.MemberAfterImage},
      {FshImage(16, std::nullopt, 9), a.WrongSize},
      {FshImage(16, 15, 10), a.Player},
      {{}, a.Jersey},
      {FshImage(16, std::nullopt, 11), a.ImagePastEnd},
  };
}

QList<ExportInput> ExportSeeds(const Archives& a) {
  using T = ExportTarget;
  return {
      {T::NewFile, {}, a.Player},
      {T::ExistingFile, "an older export that is longer than the image", a.Jersey},
      {T::Folder, {}, a.Player},
      {T::NewFile, {}, a.WrongSize},
      {T::NewFile, {}, a.ImagePastEnd},
      {T::ExistingFile, "old", a.BadMarker},
  };
}

void WriteSeed(const QString& folder, int index, const QByteArray& bytes) {
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
void WriteSeeds(const QString& folder, const QList<Input>& inputs) {
  for (int i = 0; i < inputs.size(); ++i) {
    const QByteArray bytes = inputs[i].Encode();
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    if (!(Input::Parse(data, bytes.size()) == inputs[i])) {
      std::fprintf(stderr, "seed %d of %s does not read back\n", i, qPrintable(folder));
      std::exit(1);
    }
    WriteSeed(folder, i, bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_corpus <corpus folder>\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  const Archives archives = SeedArchives();
  const QList<QByteArray> load = LoadSeeds(archives);
  for (int i = 0; i < load.size(); ++i) WriteSeed(root + "/load", i, load[i]);
  WriteSeeds(root + "/save", SaveSeeds(archives));
  WriteSeeds(root + "/import", ImportSeeds(archives));
  WriteSeeds(root + "/export", ExportSeeds(archives));
  return 0;
}
