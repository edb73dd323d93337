#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <map>

#include "archive/application_title.h"
#include "archive/load_archive.h"
#include "archive/portrait_image.h"
#include "archive/size_caption.h"
#include "support/archive_fixture.h"
#include "support/recording_window.h"

namespace {

const RecordedMessage NotAnArchive{"This is not a valid file format.", "Invalid File",
                                   MessageStyle::Plain};
const RecordedMessage EmptyImageFile{"The FSH file is empty.", "Invalid File", MessageStyle::Plain};
const RecordedMessage NotAnImage{
    "This is not an FSH image: its length field does not match the file's size.", "Invalid File",
    MessageStyle::Plain};
const RecordedMessage NoImageLength{"The portrait image in this archive has no valid length.",
                                    "Invalid File", MessageStyle::Plain};
const RecordedMessage ImagePastEnd{
    "The portrait image in this archive reaches past the end of the file.", "Invalid File",
    MessageStyle::Plain};
const RecordedMessage ImageOverDirectory{
    "The portrait image in this archive overlaps its directory.", "Invalid File",
    MessageStyle::Plain};
const RecordedMessage ImageLengthDiffers{
    "This image differs in length from the archive's portrait, and other members follow the "
    "portrait: only an image of the same length can be imported.",
    "Error", MessageStyle::Plain};

enum class Routine { Import, Export };

class PortraitImageTest : public ::testing::Test {
 public:
  QString Write(const QByteArray& bytes, const QString& name) {
    return WriteFile(dir.filePath(name), bytes);
  }
  QString UseArchive(const QByteArray& bytes) {
    return window.State().ArchivePath = Write(bytes, "archive.big");
  }
  bool Run(Routine routine) {
    return routine == Routine::Import ? ImportPortrait(window) : ExportPortrait(window);
  }
  bool Import(const QByteArray& image) {
    window.State().ImportPath = Write(image, "import.fsh");
    return ImportPortrait(window);
  }
  // The image as a fresh export gives it; empty if the export failed.
  QByteArray Exported() {
    window.State().ExportPath = dir.filePath("exported.fsh");
    if (!ExportPortrait(window)) return {};
    QByteArray bytes = ReadFile(window.State().ExportPath);
    QFile::remove(window.State().ExportPath);
    return bytes;
  }
  // Every file and folder under the test folder, with the files' bytes.
  std::map<QString, QByteArray> Files() const {
    std::map<QString, QByteArray> files;
    QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      files[path] = it.fileInfo().isDir() ? QByteArray("<folder>") : ReadFile(path);
    }
    return files;
  }

  QTemporaryDir dir;
  RecordingWindow window;
};

TEST_F(PortraitImageTest, ExportWritesExactlyTheImagesOwnLength) {
  for (const int32_t memberSize : {1, 256, 4999, 5001, INT32_MAX}) {
    ArchiveFixture fixture;
    fixture.ImageLength = 5000;
    fixture.MemberSizes[3] = memberSize;
    fixture.TrailingBytes = 300;
    const QByteArray archive = fixture.Build();
    UseArchive(archive);
    // A longer file already there keeps no stale tail.
    window.State().ExportPath = Write(QByteArray(9000, 'z'), "target.fsh");

    ASSERT_TRUE(ExportPortrait(window)) << memberSize;
    EXPECT_EQ(ReadFile(window.State().ExportPath), archive.mid(fixture.OffsetOf(4), 5000));
    EXPECT_EQ(ReadFile(window.State().ArchivePath), archive);
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
  fixture.TrailingBytes = 20;
  fixture.MemberSizes[3] = 77;
  GetParam().change(fixture);
  const QByteArray original = fixture.Build();
  UseArchive(original);
  const int32_t at = fixture.OffsetOf(4);
  EXPECT_EQ(Exported(), original.mid(at, fixture.ImageLength));

  const QByteArray image = FshImage(fixture.ImageLength, std::nullopt, 99);
  ASSERT_TRUE(Import(image));
  QByteArray expected = original;
  expected.replace(at, image.size(), image);
  EXPECT_EQ(ReadFile(window.State().ArchivePath), expected);
  EXPECT_EQ(ReadFile(window.State().ImportPath), image);
  EXPECT_EQ(Exported(), image);
  EXPECT_TRUE(window.calls.isEmpty()) << window.calls.join("; ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    AnyArchivePassingTheSizeCheck, ImageRoundTrip,
    ::testing::Values(
        ArchiveVariant{"PlayerPackage", [](ArchiveFixture&) {}},
        ArchiveVariant{"Jersey", [](ArchiveFixture& f) { f.Kind = ArchiveKind::Jersey; }},
        ArchiveVariant{"NotAPortrait", [](ArchiveFixture& f) { f.HeaderLengthRaw = 0x5D000000; }},
        ArchiveVariant{"UnknownHeaderLength", [](ArchiveFixture& f) { f.HeaderLengthRaw = 7; }},
        ArchiveVariant{"UnknownMarker", [](ArchiveFixture& f) { f.Marker = 0; }},
        ArchiveVariant{"SmallestImage", [](ArchiveFixture& f) { f.ImageLength = 8; }},
        ArchiveVariant{"ImageBeforeOtherMembers",
                       [](ArchiveFixture& f) { f.MemberOffsets[1] = f.Length() - 1; }}),
    [](const auto& info) { return std::string(info.param.name); });

class ResizedImport : public PortraitImageTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(ResizedImport, LastMemberTakesAnImageOfAnotherLength) {
  ArchiveFixture fixture = ArchiveFixture::Jersey("jer0042");
  fixture.TrailingBytes = 3;  // padding after the last member stays behind it
  const QByteArray original = fixture.Build();
  UseArchive(original);
  const int32_t at = fixture.OffsetOf(4);
  const int32_t length = GetParam();
  const QByteArray image = FshImage(length, std::nullopt, 5);

  ASSERT_TRUE(Import(image));
  const QByteArray bytes = ReadFile(window.State().ArchivePath);
  const int32_t newSize = static_cast<int32_t>(original.size()) - fixture.ImageLength + length;
  ASSERT_EQ(bytes.size(), newSize);
  EXPECT_EQ(qFromLittleEndian<int32_t>(bytes.constData() + 4), newSize);
  EXPECT_EQ(qFromBigEndian<int32_t>(bytes.constData() + 78 + 4), length);
  // Nothing else before the image changes.
  QByteArray expectedStart = original.first(at);
  expectedStart.replace(4, 4, bytes.mid(4, 4)).replace(82, 4, bytes.mid(82, 4));
  EXPECT_EQ(bytes.first(at), expectedStart);
  EXPECT_EQ(bytes.mid(at, length), image);
  EXPECT_EQ(bytes.sliced(at + length), original.right(3));

  ASSERT_TRUE(LoadArchive(window));
  EXPECT_EQ(window.text[1], "jer0042");
  EXPECT_EQ(window.showsize, SizeCaption(newSize));
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(Exported(), image);
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
  UseArchive(GetParam().archive());
  window.State().ImportPath = Write(GetParam().importFile, "import.fsh");
  window.State().ExportPath = dir.filePath("exported.fsh");
  const auto before = Files();

  EXPECT_FALSE(Run(GetParam().routine));
  EXPECT_EQ(window.messages, std::vector<RecordedMessage>{GetParam().message});
  EXPECT_EQ(Files(), before);
}

std::function<QByteArray()> With(std::function<void(ArchiveFixture&)> change) {
  return [change] {
    ArchiveFixture fixture;
    change(fixture);
    return fixture.Build();
  };
}
const auto Valid = With([](ArchiveFixture&) {});
const auto SizeFieldOff = With([](ArchiveFixture& f) { f.ArchiveSizeField = f.Length() + 1; });
const QByteArray SameLength = FshImage(256);

INSTANTIATE_TEST_SUITE_P(
    Refusals, ImageRefusal,
    ::testing::Values(
        RefusalCase{"ExportSizeFieldLong", Routine::Export, SizeFieldOff, {}, NotAnArchive},
        RefusalCase{"ExportSizeFieldShort",
                    Routine::Export,
                    With([](ArchiveFixture& f) { f.ArchiveSizeField = f.Length() - 1; }),
                    {},
                    NotAnArchive},
        RefusalCase{"ExportLengthZero",
                    Routine::Export,
                    With([](ArchiveFixture& f) { f.ImageLengthField = 0; }),
                    {},
                    NoImageLength},
        RefusalCase{"ExportLengthNegative",
                    Routine::Export,
                    With([](ArchiveFixture& f) { f.ImageLengthField = -256; }),
                    {},
                    NoImageLength},
        RefusalCase{"ExportLengthShorterThanItsWord",
                    Routine::Export,
                    With([](ArchiveFixture& f) { f.ImageLengthField = 7; }),
                    {},
                    NoImageLength},
        RefusalCase{"ExportImagePastEnd",
                    Routine::Export,
                    With([](ArchiveFixture& f) {
                      f.TrailingBytes = 10;
                      f.ImageLengthField = f.ImageLength + 11;
                    }),
                    {},
                    ImagePastEnd},
        RefusalCase{"ExportHugeLength",
                    Routine::Export,
                    With([](ArchiveFixture& f) { f.ImageLengthField = INT32_MAX; }),
                    {},
                    ImagePastEnd},
        RefusalCase{"ImportSizeFieldOff", Routine::Import, SizeFieldOff, SameLength, NotAnArchive},
        RefusalCase{"ImportEmptyFile", Routine::Import, Valid, {}, EmptyImageFile},
        RefusalCase{"ImportShorterThanLengthWord", Routine::Import, Valid, "SHPI\x05", NotAnImage},
        RefusalCase{"ImportLengthWordLong", Routine::Import, Valid, FshImage(256, 257), NotAnImage},
        RefusalCase{"ImportLengthWordShort", Routine::Import, Valid, FshImage(256, 255),
                    NotAnImage},
        // The import file is read and judged before the archive.
        RefusalCase{"ImportFileJudgedFirst", Routine::Import, SizeFieldOff, FshImage(256, 1),
                    NotAnImage},
        RefusalCase{"ImportCurrentImageWithoutLength", Routine::Import,
                    With([](ArchiveFixture& f) { f.ImageLengthField = 0; }), SameLength,
                    NoImageLength},
        RefusalCase{"ImportCurrentImagePastEnd", Routine::Import,
                    With([](ArchiveFixture& f) { f.ImageLengthField = f.ImageLength + 1; }),
                    FshImage(257), ImagePastEnd},
        // Directory entry 4 pointing at the header: its "length word" is the
        // archive size, so writing there would overwrite the directory.
        RefusalCase{"ImportImageOverDirectory", Routine::Import,
                    With([](ArchiveFixture& f) { f.MemberOffsets[3] = 0; }), FshImage(300),
                    ImageOverDirectory},
        RefusalCase{"ImportOtherLengthBeforeAMember", Routine::Import,
                    With([](ArchiveFixture& f) { f.MemberOffsets[1] = f.OffsetOf(4) + 1; }),
                    FshImage(300), ImageLengthDiffers}),
    [](const auto& info) { return std::string(info.param.name); });

// A runtime failure: one critical report in the command error format, and
// every file stays as it was.
struct FailureCase {
  const char* name;
  Routine routine;
  std::function<void(PortraitImageTest&, WindowState&)> setUp;
  const char* expectedText;  // null: any description and number
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

void UseChanged(PortraitImageTest& t, std::function<void(ArchiveFixture&)> change) {
  t.UseArchive(With(std::move(change))());
}

void ExpectCommandErrorReport(const std::vector<RecordedMessage>& messages,
                              const char* expectedText) {
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Caption, ApplicationTitle());
  EXPECT_EQ(messages[0].Style, MessageStyle::Critical);
  if (expectedText)
    EXPECT_EQ(messages[0].Text, expectedText);
  else
    EXPECT_TRUE(QRegularExpression(R"(^ERROR: \S.*\. \[Error #[1-9]\d*\]$)")
                    .match(messages[0].Text)
                    .hasMatch())
        << messages[0].Text.toStdString();
}

class ImageRuntimeFailure : public PortraitImageTest,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ImageRuntimeFailure, IsReportedAndWritesNothing) {
  UseArchive(ArchiveFixture().Build());
  window.State().ImportPath = Write(FshImage(256, std::nullopt, 3), "import.fsh");
  window.State().ExportPath = dir.filePath("exported.fsh");
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  GetParam().setUp(*this, window.State());
  const auto before = Files();

  EXPECT_FALSE(Run(GetParam().routine));
  ExpectCommandErrorReport(window.messages, GetParam().expectedText);
  EXPECT_EQ(Files(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ImageRuntimeFailure,
    ::testing::Values(
        FailureCase{"ExportTargetInMissingFolder", Routine::Export,
                    [](PortraitImageTest& t, WindowState& s) {
                      s.ExportPath = t.dir.filePath("missing/exported.fsh");
                    },
                    nullptr},
        FailureCase{
            "ExportTargetIsAFolder", Routine::Export,
            [](PortraitImageTest& t, WindowState& s) { s.ExportPath = t.dir.filePath("folder"); },
            nullptr},
        FailureCase{"ExportArchiveGone", Routine::Export,
                    [](PortraitImageTest&, WindowState& s) { QFile::remove(s.ArchivePath); },
                    nullptr},
        FailureCase{"ExportImageBeforeStart", Routine::Export,
                    [](PortraitImageTest& t, WindowState&) {
                      UseChanged(t, [](ArchiveFixture& f) { f.MemberOffsets[3] = -1; });
                    },
                    "ERROR: Bad record number. [Error #63]"},
        FailureCase{"ExportImageStartPastEnd", Routine::Export,
                    [](PortraitImageTest& t, WindowState&) {
                      UseChanged(t, [](ArchiveFixture& f) { f.MemberOffsets[3] = f.Length() - 7; });
                    },
                    "ERROR: Input past end of file. [Error #62]"},
        FailureCase{"ImportFileGone", Routine::Import,
                    [](PortraitImageTest&, WindowState& s) { QFile::remove(s.ImportPath); },
                    nullptr},
        FailureCase{"ImportArchiveGone", Routine::Import,
                    [](PortraitImageTest&, WindowState& s) { QFile::remove(s.ArchivePath); },
                    nullptr},
        FailureCase{
            "ImportArchiveIsAFolder", Routine::Import,
            [](PortraitImageTest& t, WindowState& s) { s.ArchivePath = t.dir.filePath("folder"); },
            nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// Writes that the file system cuts short: the routine runs in a child whose
// file-size limit is below what it writes; the parent checks the files.
class FileSizeLimit : public PortraitImageTest, public ::testing::WithParamInterface<Routine> {};

TEST_P(FileSizeLimit, LeavesEveryFileAsItWas) {
  UseArchive(ArchiveFixture().Build());
  window.State().ImportPath = Write(FshImage(400, std::nullopt, 8), "import.fsh");
  window.State().ExportPath = Write(QByteArray("old export"), "exported.fsh");
  const auto before = Files();

  int channel[2];
  ASSERT_EQ(pipe(channel), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(channel[0]);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool written = Run(GetParam());
    QByteArray report = written ? "written" : "not written";
    for (const RecordedMessage& m : window.messages)
      report += "\n" + QByteArray::number(static_cast<int>(m.Style)) + "\n" + m.Caption.toUtf8() +
                "\n" + m.Text.toUtf8();
    const ssize_t sent = write(channel[1], report.constData(), report.size());
    _exit(sent == report.size() ? 0 : 1);
  }
  close(channel[1]);
  QByteArray report;
  char buffer[4096];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
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
                                               static_cast<MessageStyle>(lines[1].toInt())}};
  ExpectCommandErrorReport(messages, nullptr);
  EXPECT_EQ(Files(), before);
}

INSTANTIATE_TEST_SUITE_P(BothRoutines, FileSizeLimit,
                         ::testing::Values(Routine::Import, Routine::Export), [](const auto& info) {
                           return std::string(info.param == Routine::Import ? "Import" : "Export");
                         });

}  // namespace
