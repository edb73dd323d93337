#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/recording_window.h"
#include "ui/application_title.h"
#include "ui/command_routines.h"
#include "ui/size_caption.h"

namespace {

const RecordedMessage NotAnArchive{"This is not a valid file format.", "Invalid File",
                                   ui::MessageStyle::Plain};
const RecordedMessage EmptyImageFile{"The FSH file is empty.", "Invalid File",
                                     ui::MessageStyle::Plain};
const RecordedMessage NotAnImage{
    "This is not an FSH image: its length field does not match the file's size.", "Invalid File",
    ui::MessageStyle::Plain};
RecordedMessage noImageLength(int lengthField) {
  return {QStringLiteral("The portrait image in this archive has no valid length: its length "
                         "field says %1, less than the 8 bytes of the image's own header.")
              .arg(lengthField),
          "Invalid File", ui::MessageStyle::Plain};
}
const RecordedMessage ImagePastEnd{
    "The portrait image in this archive reaches past the end of the file.", "Invalid File",
    ui::MessageStyle::Plain};
const RecordedMessage ImageOverDirectory{
    "The portrait image in this archive overlaps its directory.", "Invalid File",
    ui::MessageStyle::Plain};
const RecordedMessage NoSignature{"This is not an FSH image: it does not start with SHPI.",
                                  "Invalid File", ui::MessageStyle::Plain};
const RecordedMessage OverLoadBytes{
    "The archive's members overlap, and this image would overwrite the bytes that tell the "
    "archive's kind, where its name table ends or its identifier. Nothing was imported.",
    "Error", ui::MessageStyle::Plain};
const RecordedMessage ImageLengthDiffers{
    "This image differs in length from the archive's portrait, and other members follow the "
    "portrait: only an image of the same length can be imported.",
    "Error", ui::MessageStyle::Plain};

enum class Routine { Import, Export };

class PortraitImageTest : public ::testing::Test {
 public:
  QString write(const QByteArray& bytes, const QString& name) {
    return writeFile(dir.filePath(name), bytes);
  }
  QString useArchive(const QByteArray& bytes) {
    return window.state().archivePath = write(bytes, "archive.big");
  }
  bool run(Routine routine) {
    return routine == Routine::Import ? ui::importPortraitInto(window)
                                      : ui::exportPortraitFrom(window);
  }
  bool import(const QByteArray& image) {
    window.state().importPath = write(image, "import.fsh");
    return ui::importPortraitInto(window);
  }
  // The image as a fresh export gives it; empty if the export failed.
  QByteArray exported() {
    window.state().exportPath = dir.filePath("exported.fsh");
    if (!ui::exportPortraitFrom(window)) return {};
    QByteArray bytes = readFile(window.state().exportPath);
    QFile::remove(window.state().exportPath);
    return bytes;
  }
  FileTree files() const { return snapshotTree(dir.path()); }

  QTemporaryDir dir;
  RecordingWindow window;
};

TEST_F(PortraitImageTest, ExportWritesExactlyTheImagesOwnLength) {
  for (const int32_t memberSize : {1, 256, 4999, 5001, INT32_MAX}) {
    ArchiveFixture fixture;
    fixture.imageLength = 5000;
    fixture.memberSizes[3] = memberSize;
    fixture.trailingBytes = 300;
    const QByteArray archive = fixture.build();
    useArchive(archive);
    // A longer file already there keeps no stale tail.
    window.state().exportPath = write(QByteArray(9000, 'z'), "target.fsh");

    ASSERT_TRUE(ui::exportPortraitFrom(window)) << memberSize;
    EXPECT_EQ(readFile(window.state().exportPath), archive.mid(fixture.offsetOf(4), 5000));
    EXPECT_EQ(readFile(window.state().archivePath), archive);
  }
  EXPECT_TRUE(window.calls.isEmpty()) << "the window does not change";
}

// Import and Export look at nothing but the size field, the directory and the
// image, so archives that Load rejects work too.
struct ArchiveVariant {
  const char* name;
  std::function<void(ArchiveFixture&)> change;
};
void PrintTo(const ArchiveVariant& v, std::ostream* os) { *os << v.name; }

class ImageRoundTrip : public PortraitImageTest,
                       public ::testing::WithParamInterface<ArchiveVariant> {};

TEST_P(ImageRoundTrip, SameLengthImportReplacesOnlyTheImage) {
  ArchiveFixture fixture;
  fixture.trailingBytes = 20;
  fixture.memberSizes[3] = 77;
  GetParam().change(fixture);
  const QByteArray original = fixture.build();
  useArchive(original);
  const int32_t at = fixture.offsetOf(4);
  EXPECT_EQ(exported(), original.mid(at, fixture.imageLength));

  const QByteArray image = fshImage(fixture.imageLength, std::nullopt, 99);
  ASSERT_TRUE(import(image));
  QByteArray expected = original;
  expected.replace(at, image.size(), image);
  EXPECT_EQ(readFile(window.state().archivePath), expected);
  EXPECT_EQ(readFile(window.state().importPath), image);
  EXPECT_EQ(exported(), image);
  EXPECT_TRUE(window.calls.isEmpty()) << window.calls.join("; ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    AnyArchivePassingTheSizeCheck, ImageRoundTrip,
    ::testing::Values(
        ArchiveVariant{"PlayerPackage", [](ArchiveFixture&) {}},
        ArchiveVariant{"Jersey", [](ArchiveFixture& f) { f.kind = archive::ArchiveKind::Jersey; }},
        ArchiveVariant{"NotAPortrait", [](ArchiveFixture& f) { f.headerLengthRaw = 0x5D000000; }},
        ArchiveVariant{"UnknownHeaderLength", [](ArchiveFixture& f) { f.headerLengthRaw = 7; }},
        ArchiveVariant{"UnknownMarker", [](ArchiveFixture& f) { f.marker = 0; }},
        ArchiveVariant{"SmallestImage", [](ArchiveFixture& f) { f.imageLength = 8; }},
        ArchiveVariant{"ImageBeforeOtherMembers",
                       [](ArchiveFixture& f) { f.memberOffsets[1] = f.length() - 1; }}),
    [](const auto& info) { return std::string(info.param.name); });

class ResizedImport : public PortraitImageTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(ResizedImport, LastMemberTakesAnImageOfAnotherLength) {
  ArchiveFixture fixture = ArchiveFixture::jersey("jer0042");
  fixture.trailingBytes = 3;  // padding after the last member stays behind it
  const QByteArray original = fixture.build();
  useArchive(original);
  const int32_t at = fixture.offsetOf(4);
  const int32_t length = GetParam();
  const QByteArray image = fshImage(length, std::nullopt, 5);

  ASSERT_TRUE(import(image));
  const QByteArray bytes = readFile(window.state().archivePath);
  const int32_t newSize = static_cast<int32_t>(original.size()) - fixture.imageLength + length;
  ASSERT_EQ(bytes.size(), newSize);
  EXPECT_EQ(qFromLittleEndian<int32_t>(bytes.constData() + 4), newSize);
  EXPECT_EQ(qFromBigEndian<int32_t>(bytes.constData() + 78 + 4), length);
  // Nothing else before the image changes.
  QByteArray expectedStart = original.first(at);
  expectedStart.replace(4, 4, bytes.mid(4, 4)).replace(82, 4, bytes.mid(82, 4));
  EXPECT_EQ(bytes.first(at), expectedStart);
  EXPECT_EQ(bytes.mid(at, length), image);
  EXPECT_EQ(bytes.sliced(at + length), original.right(3));

  ASSERT_TRUE(ui::loadArchiveInto(window));
  EXPECT_EQ(window.text[1], "jer0042");
  EXPECT_EQ(window.sizeText, ui::sizeCaption(newSize));
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(exported(), image);
}

INSTANTIATE_TEST_SUITE_P(ShorterAndLonger, ResizedImport, ::testing::Values(8, 255, 257, 70000));

// A content problem: one plain message, and every file stays as it was.
struct RefusalCase {
  const char* name;
  Routine routine;
  std::function<QByteArray()> archive;
  QByteArray importFile;  // for Import
  RecordedMessage message;
};
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class ImageRefusal : public PortraitImageTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ImageRefusal, ShowsItsMessageAndWritesNothing) {
  useArchive(GetParam().archive());
  window.state().importPath = write(GetParam().importFile, "import.fsh");
  window.state().exportPath = dir.filePath("exported.fsh");
  const auto before = files();

  EXPECT_FALSE(run(GetParam().routine));
  EXPECT_EQ(window.messages, std::vector<RecordedMessage>{GetParam().message});
  EXPECT_EQ(files(), before);
}

std::function<QByteArray()> with(std::function<void(ArchiveFixture&)> change) {
  return [change] {
    ArchiveFixture fixture;
    change(fixture);
    return fixture.build();
  };
}
const auto Valid = with([](ArchiveFixture&) {});
const auto SizeFieldOff = with([](ArchiveFixture& f) { f.archiveSizeField = f.length() + 1; });
const QByteArray SameLength = fshImage(256);
// Ten bytes: not even the header's size field is whole.
const auto ShorterThanHeader = [] { return QByteArray("BIGF\x0a\0\0\0ab", 10); };
QByteArray withoutSignature() { return fshImage(256).replace(0, 4, "BIGF"); }

// Members that overlap the portrait: what Load reads lies inside the image,
// and holds what Load accepts, so the archive loads.
QByteArray markerInImage() {
  ArchiveFixture fixture;
  fixture.memberOffsets[0] = fixture.offsetOf(4) + 20 - archive::ArchiveLayout::MarkerOffset;
  QByteArray archive = fixture.build();
  archive[fixture.offsetOf(4) + 20] =
      static_cast<char>(archive::ArchiveLayout::PlayerPackageMarker);
  return archive;
}
QByteArray nameTableInImage() {
  ArchiveFixture fixture;
  const int32_t member3 = fixture.offsetOf(4) + 40;
  fixture.memberOffsets[2] = member3;
  QByteArray archive = fixture.build();
  putWord(archive, member3 + archive::ArchiveLayout::NameTableEndOffset, 30);
  archive.replace(member3 + 20, 7, "ab12cd3");
  return archive;
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, ImageRefusal,
    ::testing::Values(
        RefusalCase{"ExportSizeFieldLong", Routine::Export, SizeFieldOff, {}, NotAnArchive},
        RefusalCase{"ExportSizeFieldShort",
                    Routine::Export,
                    with([](ArchiveFixture& f) { f.archiveSizeField = f.length() - 1; }),
                    {},
                    NotAnArchive},
        RefusalCase{"ExportLengthZero",
                    Routine::Export,
                    with([](ArchiveFixture& f) { f.imageLengthField = 0; }),
                    {},
                    noImageLength(0)},
        RefusalCase{"ExportLengthNegative",
                    Routine::Export,
                    with([](ArchiveFixture& f) { f.imageLengthField = -256; }),
                    {},
                    noImageLength(-256)},
        RefusalCase{"ExportLengthShorterThanItsWord",
                    Routine::Export,
                    with([](ArchiveFixture& f) { f.imageLengthField = 7; }),
                    {},
                    noImageLength(7)},
        RefusalCase{"ExportImagePastEnd",
                    Routine::Export,
                    with([](ArchiveFixture& f) {
                      f.trailingBytes = 10;
                      f.imageLengthField = f.imageLength + 11;
                    }),
                    {},
                    ImagePastEnd},
        RefusalCase{"ExportHugeLength",
                    Routine::Export,
                    with([](ArchiveFixture& f) { f.imageLengthField = INT32_MAX; }),
                    {},
                    ImagePastEnd},
        RefusalCase{
            "ExportArchiveShorterThanHeader", Routine::Export, ShorterThanHeader, {}, NotAnArchive},
        RefusalCase{"ImportSizeFieldOff", Routine::Import, SizeFieldOff, SameLength, NotAnArchive},
        RefusalCase{"ImportArchiveShorterThanHeader", Routine::Import, ShorterThanHeader,
                    SameLength, NotAnArchive},
        // Its length word is its size, as an archive's size field is.
        RefusalCase{"ImportNoSignature", Routine::Import, Valid, withoutSignature(), NoSignature},
        RefusalCase{"ImportEmptyFile", Routine::Import, Valid, {}, EmptyImageFile},
        RefusalCase{"ImportShorterThanLengthWord", Routine::Import, Valid, "SHPI\x05", NotAnImage},
        RefusalCase{"ImportLengthWordLong", Routine::Import, Valid, fshImage(256, 257), NotAnImage},
        RefusalCase{"ImportLengthWordShort", Routine::Import, Valid, fshImage(256, 255),
                    NotAnImage},
        // The import file is read and judged before the archive.
        RefusalCase{"ImportFileJudgedFirst", Routine::Import, SizeFieldOff, fshImage(256, 1),
                    NotAnImage},
        // Where another member follows the portrait, the old image's length
        // decides where the rest of the archive starts.
        RefusalCase{"ImportCurrentImageWithoutLength", Routine::Import, with([](ArchiveFixture& f) {
                      f.imageLengthField = 0;
                      f.memberOffsets[1] = f.offsetOf(4) + 1;
                    }),
                    SameLength, noImageLength(0)},
        RefusalCase{"ImportCurrentImagePastEnd", Routine::Import, with([](ArchiveFixture& f) {
                      f.imageLengthField = f.imageLength + 1;
                      f.memberOffsets[1] = f.offsetOf(4) + 1;
                    }),
                    fshImage(257), ImagePastEnd},
        // Directory entry 4 pointing at the header: its "length word" is the
        // archive size, so writing there would overwrite the directory.
        RefusalCase{"ImportImageOverDirectory", Routine::Import,
                    with([](ArchiveFixture& f) { f.memberOffsets[3] = 0; }), fshImage(300),
                    ImageOverDirectory},
        RefusalCase{"ImportOtherLengthBeforeAMember", Routine::Import,
                    with([](ArchiveFixture& f) { f.memberOffsets[1] = f.offsetOf(4) + 1; }),
                    fshImage(300), ImageLengthDiffers},
        RefusalCase{"ImportOverKindMarker", Routine::Import, markerInImage, SameLength,
                    OverLoadBytes},
        RefusalCase{"ImportOverNameTable", Routine::Import, nameTableInImage, SameLength,
                    OverLoadBytes}),
    [](const auto& info) { return std::string(info.param.name); });

// An image that keeps the overlapping bytes as they are loads alike, and is imported.
TEST_F(PortraitImageTest, OverlappingMembersTakeAnImageThatKeepsWhatLoadReads) {
  for (const QByteArray& archive : {markerInImage(), nameTableInImage()}) {
    useArchive(archive);
    const QByteArray image = exported();
    ASSERT_FALSE(image.isEmpty());
    QByteArray changed = image;
    changed[image.size() - 1] = static_cast<char>(~image[image.size() - 1]);
    ASSERT_TRUE(import(changed));
    EXPECT_TRUE(ui::loadArchiveInto(window));
    EXPECT_EQ(window.text[0], "ab12cd3");
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(exported(), changed);
  }
}

// A portrait whose own length is damaged is replaced whole where nothing
// follows it: the new image takes everything from member 4's offset on.
class DamagedPortrait : public PortraitImageTest,
                        public ::testing::WithParamInterface<ArchiveVariant> {};

TEST_P(DamagedPortrait, IsRepairedByAnImportWhenItIsTheLastMember) {
  ArchiveFixture fixture = ArchiveFixture::jersey("jer0042");
  GetParam().change(fixture);
  const QByteArray original = fixture.build();
  useArchive(original);
  const int32_t at = fixture.offsetOf(4);
  const QByteArray image = fshImage(300, std::nullopt, 6);

  ASSERT_TRUE(import(image)) << window.messages[0].text.toStdString();
  QByteArray expected = original.left(at) + image;
  putWord(expected, archive::ArchiveLayout::ArchiveSizeOffset, expected.size());
  qToBigEndian<int32_t>(image.size(), expected.data() + 78 + 4);
  EXPECT_EQ(readFile(window.state().archivePath), expected);
  ASSERT_TRUE(ui::loadArchiveInto(window));
  EXPECT_EQ(window.text[1], "jer0042");
  EXPECT_EQ(exported(), image);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, DamagedPortrait,
    ::testing::Values(
        ArchiveVariant{"Zero", [](ArchiveFixture& f) { f.imageLengthField = 0; }},
        ArchiveVariant{"Seven", [](ArchiveFixture& f) { f.imageLengthField = 7; }},
        ArchiveVariant{"PastTheEnd",
                       [](ArchiveFixture& f) { f.imageLengthField = f.imageLength + 1; }},
        ArchiveVariant{"CutInsideItsHeader", [](ArchiveFixture& f) { f.imageLength = 5; }}),
    [](const auto& info) { return std::string(info.param.name); });

// The current archive is neither the export's target nor the import's image,
// under any of its names.
TEST_F(PortraitImageTest, TheArchiveItselfIsNeitherTargetNorImage) {
  const QByteArray archive = ArchiveFixture().build();
  const QString path = useArchive(archive);
  ASSERT_TRUE(QFile::link(path, dir.filePath("symbolic.big")));
  // A picture export (named .png) would replace it with a picture.
  for (const char* name : {"hard.big", "hard.png"})
    ASSERT_EQ(::link(QFile::encodeName(path).constData(),
                     QFile::encodeName(dir.filePath(name)).constData()),
              0);
  const FileTree before = files();
  const RecordedMessage targetRefusal{
      "This file is the current archive itself: the portrait would replace the whole archive. "
      "Choose another file. Nothing was exported.",
      "Error", ui::MessageStyle::Plain};
  const RecordedMessage imageRefusal{
      "This file is the current archive itself, not an FSH image. Nothing was imported.", "Error",
      ui::MessageStyle::Plain};

  const QString names[] = {path, dir.filePath("symbolic.big"), dir.filePath("hard.big"),
                           dir.filePath("hard.png"),
                           dir.filePath("../" + QFileInfo(dir.path()).fileName() + "/archive.big")};
  for (const QString& other : names) {
    SCOPED_TRACE(other.toStdString());
    window.messages.clear();
    window.state().exportPath = other;
    EXPECT_FALSE(ui::exportPortraitFrom(window));
    window.state().importPath = other;
    EXPECT_FALSE(ui::importPortraitInto(window));
    EXPECT_EQ(window.messages, std::vector<RecordedMessage>({targetRefusal, imageRefusal}));
  }
  EXPECT_EQ(files(), before);
}

// A runtime failure: one critical report in the command error format, and
// every file stays as it was.
struct FailureCase {
  const char* name;
  Routine routine;
  std::function<void(PortraitImageTest&, ui::WindowState&)> setUp;
  const char* expectedText;  // null: any description and number
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

void useChanged(PortraitImageTest& t, std::function<void(ArchiveFixture&)> change) {
  t.useArchive(with(std::move(change))());
}

void expectCommandErrorReport(const std::vector<RecordedMessage>& messages,
                              const char* expectedText) {
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, ui::applicationTitle());
  EXPECT_EQ(messages[0].style, ui::MessageStyle::Critical);
  if (expectedText)
    EXPECT_EQ(messages[0].text, expectedText);
  else
    EXPECT_TRUE(QRegularExpression(R"(^ERROR: \S.*\. \[Error #[1-9]\d*\]$)")
                    .match(messages[0].text)
                    .hasMatch())
        << messages[0].text.toStdString();
}

class ImageRuntimeFailure : public PortraitImageTest,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ImageRuntimeFailure, IsReportedAndWritesNothing) {
  useArchive(ArchiveFixture().build());
  window.state().importPath = write(fshImage(256, std::nullopt, 3), "import.fsh");
  window.state().exportPath = dir.filePath("exported.fsh");
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  GetParam().setUp(*this, window.state());
  const auto before = files();

  EXPECT_FALSE(run(GetParam().routine));
  expectCommandErrorReport(window.messages, GetParam().expectedText);
  EXPECT_EQ(files(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ImageRuntimeFailure,
    ::testing::Values(
        FailureCase{"ExportTargetInMissingFolder", Routine::Export,
                    [](PortraitImageTest& t, ui::WindowState& s) {
                      s.exportPath = t.dir.filePath("missing/exported.fsh");
                    },
                    nullptr},
        FailureCase{"ExportArchiveGone", Routine::Export,
                    [](PortraitImageTest&, ui::WindowState& s) { QFile::remove(s.archivePath); },
                    nullptr},
        FailureCase{"ExportImageBeforeStart", Routine::Export,
                    [](PortraitImageTest& t, ui::WindowState&) {
                      useChanged(t, [](ArchiveFixture& f) { f.memberOffsets[3] = -1; });
                    },
                    "ERROR: Bad record number. [Error #63]"},
        FailureCase{"ExportImageStartPastEnd", Routine::Export,
                    [](PortraitImageTest& t, ui::WindowState&) {
                      useChanged(t, [](ArchiveFixture& f) { f.memberOffsets[3] = f.length() - 7; });
                    },
                    "ERROR: Input past end of file. [Error #62]"},
        FailureCase{"ImportFileGone", Routine::Import,
                    [](PortraitImageTest&, ui::WindowState& s) { QFile::remove(s.importPath); },
                    nullptr},
        FailureCase{"ImportArchiveGone", Routine::Import,
                    [](PortraitImageTest&, ui::WindowState& s) { QFile::remove(s.archivePath); },
                    nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// Writes that the file system cuts short: the routine runs in a child whose
// file-size limit is below what it writes; the parent checks the files.
class FileSizeLimit : public PortraitImageTest, public ::testing::WithParamInterface<Routine> {};

TEST_P(FileSizeLimit, LeavesEveryFileAsItWas) {
  useArchive(ArchiveFixture().build());
  window.state().importPath = write(fshImage(400, std::nullopt, 8), "import.fsh");
  window.state().exportPath = write(QByteArray("old export"), "exported.fsh");
  const auto before = files();

  int channel[2];
  ASSERT_EQ(pipe(channel), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(channel[0]);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool written = run(GetParam());
    QByteArray report = written ? "written" : "not written";
    for (const RecordedMessage& m : window.messages)
      report += "\n" + QByteArray::number(static_cast<int>(m.style)) + "\n" + m.caption.toUtf8() +
                "\n" + m.text.toUtf8();
    const ssize_t sent = ::write(channel[1], report.constData(), report.size());
    _exit(sent == report.size() ? 0 : 1);
  }
  close(channel[1]);
  QByteArray report;
  char buffer[4096];
  for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, got);
  close(channel[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  const QList<QByteArray> lines = report.split('\n');
  ASSERT_EQ(lines.size(), 4) << report.toStdString();
  EXPECT_EQ(lines[0], "not written");
  const std::vector<RecordedMessage> messages{{QString::fromUtf8(lines[3]),
                                               QString::fromUtf8(lines[2]),
                                               static_cast<ui::MessageStyle>(lines[1].toInt())}};
  expectCommandErrorReport(messages, nullptr);
  EXPECT_EQ(files(), before);
}

INSTANTIATE_TEST_SUITE_P(BothRoutines, FileSizeLimit,
                         ::testing::Values(Routine::Import, Routine::Export), [](const auto& info) {
                           return std::string(info.param == Routine::Import ? "Import" : "Export");
                         });

}  // namespace
