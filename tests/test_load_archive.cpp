#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "support/archive_fixture.h"
#include "support/recording_window.h"
#include "ui/command_routines.h"

namespace {

class LoadArchiveTest : public ::testing::Test {
 protected:
  QString write(const QByteArray& bytes, const QString& name = "archive.big") {
    return writeFile(dir.filePath(name), bytes);
  }
  bool loadFile(const QString& path) {
    window.state().archivePath = path;
    return ui::loadArchiveInto(window);
  }
  bool load(const ArchiveFixture& fixture) { return loadFile(write(fixture.build())); }

  QTemporaryDir dir;
  RecordingWindow window;
};

TEST_F(LoadArchiveTest, PlayerPackageFillsItsBoxInOrder) {
  ASSERT_TRUE(load(ArchiveFixture::playerPackage("xy98zz1")));
  EXPECT_EQ(window.calls,
            QStringList({"pointer hourglass", "size 0.53 KB", "playerPackageEdit text xy98zz1",
                         "jerseyNameEdit text ", "jerseyNameEdit disabled",
                         "playerPackageEdit enabled", "file buttons enabled", "pointer default"}));
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(LoadArchiveTest, JerseyAfterPlayerPackageSwapsTheBoxes) {
  ASSERT_TRUE(load(ArchiveFixture::playerPackage("pkg0001")));
  ASSERT_TRUE(load(ArchiveFixture::jersey("jrs0002")));
  EXPECT_EQ(window.text[0], "");
  EXPECT_FALSE(window.enabled[0]);
  EXPECT_EQ(window.text[1], "jrs0002");
  EXPECT_TRUE(window.enabled[1]);
  EXPECT_TRUE(window.fileButtons);
  EXPECT_EQ(window.pointer, ui::MousePointer::Default);
}

TEST_F(LoadArchiveTest, IdentifierComesFromTheLastNameTableCopy) {
  ArchiveFixture fixture = ArchiveFixture::jersey("table01");
  fixture.directoryId = QByteArray("dirname");
  // Nothing but the size field, header length and directory offsets matters.
  fixture.magic = "XXXX";
  fixture.memberCount = -7;
  fixture.memberSizes = {0, -1, 0x7FFFFFFF, 5};
  ASSERT_TRUE(load(fixture));
  EXPECT_EQ(window.text[1], "table01");

  // Only the last copy (at E - 10) counts.
  QByteArray bytes = fixture.build();
  bytes.replace(fixture.lastIdentifierCopy(), 7, "last999");
  ASSERT_TRUE(loadFile(write(bytes)));
  EXPECT_EQ(window.text[1], "last999");
}

TEST_F(LoadArchiveTest, IdentifierBytesAreLatin1Characters) {
  QByteArray id("a\xE9\xFF\x01z\x80q", 7);
  ASSERT_TRUE(load(ArchiveFixture::playerPackage(id)));
  const QString shown = window.text[0];
  ASSERT_EQ(shown.size(), 7);
  EXPECT_EQ(shown[1], QChar(0xE9));
  EXPECT_EQ(shown[2], QChar(0xFF));
  EXPECT_EQ(shown[5], QChar(0x80));
}

TEST_F(LoadArchiveTest, ReadOnlyArchiveLoads) {
  const QString path = write(ArchiveFixture::playerPackage().build());
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  EXPECT_TRUE(loadFile(path));
  EXPECT_EQ(window.text[0], "ab12cd3");
}

TEST_F(LoadArchiveTest, Member1OffsetJustBeforeTheFileReadsAHeaderByte) {
  ArchiveFixture fixture;
  fixture.memberOffsets[0] = -12;  // the marker is then byte 0 of the magic
  fixture.magic = QByteArray("\x18IGF", 4);
  EXPECT_TRUE(load(fixture));
  EXPECT_EQ(window.text[0], "ab12cd3");
}

TEST_F(LoadArchiveTest, LargeSparseArchiveLoadsWithoutReadingIt) {
  ArchiveFixture fixture;
  fixture.archiveSizeField = 1 << 30;
  const QString path = write(fixture.build());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.resize(1 << 30));  // sparse: no blocks written
  file.close();
  EXPECT_TRUE(loadFile(path));
  EXPECT_EQ(window.sizeText, "1073741.824 KB");
}

// Every rejection leaves the controls of the previous load as they were.
struct Rejection {
  const char* name;
  std::function<QByteArray()> bytes;
  RecordedMessage message;
  bool pointerResetBeforeMessage;
};

void PrintTo(const Rejection& r, std::ostream* os) { *os << r.name; }

class LoadRejection : public LoadArchiveTest, public ::testing::WithParamInterface<Rejection> {};

TEST_P(LoadRejection, ShowsItsMessageAndChangesNoControl) {
  window.showLoaded(ui::IdentifierBox::Jersey, "before1", "1.5 KB");
  window.calls.clear();
  EXPECT_FALSE(loadFile(write(GetParam().bytes(), "rejected.big")));

  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0], GetParam().message);
  const QString message = "message " + GetParam().message.text + "|" + GetParam().message.caption;
  if (GetParam().pointerResetBeforeMessage)
    EXPECT_EQ(window.calls.mid(window.calls.size() - 2), QStringList({"pointer default", message}));
  else
    EXPECT_EQ(window.calls.mid(window.calls.size() - 2), QStringList({message, "pointer default"}));
  EXPECT_EQ(window.pointer, ui::MousePointer::Default);
  EXPECT_EQ(window.text[1], "before1");
  EXPECT_TRUE(window.enabled[1]);
  EXPECT_EQ(window.text[0], "");
  EXPECT_FALSE(window.enabled[0]);
  EXPECT_EQ(window.sizeText, "1.5 KB");
  EXPECT_TRUE(window.fileButtons);
}

std::function<QByteArray()> with(std::function<void(ArchiveFixture&)> change) {
  return [change] {
    ArchiveFixture fixture;
    change(fixture);
    return fixture.build();
  };
}

const RecordedMessage TooBig{"File size is too big.", "Invalid File", ui::MessageStyle::Plain};
const RecordedMessage NotPortrait{"Not a portrait!! :)", "Error", ui::MessageStyle::Plain};
const RecordedMessage Unknown{"Unknown Format", "Error", ui::MessageStyle::Plain};
const RecordedMessage Undecodable{"Unable to decode binary file.", "Error",
                                  ui::MessageStyle::Plain};

INSTANTIATE_TEST_SUITE_P(
    FailureTable, LoadRejection,
    ::testing::Values(
        Rejection{"SizeFieldOneByteLong",
                  with([](ArchiveFixture& f) { f.archiveSizeField = f.length() + 1; }), TooBig,
                  true},
        Rejection{"SizeFieldOneByteShort",
                  with([](ArchiveFixture& f) { f.archiveSizeField = f.length() - 1; }), TooBig,
                  true},
        Rejection{"NotAPortrait", with([](ArchiveFixture& f) { f.headerLengthRaw = 0x5D000000; }),
                  NotPortrait, false},
        Rejection{"HeaderLengthLittleEndian",
                  with([](ArchiveFixture& f) { f.headerLengthRaw = 0x00000062; }), Unknown, false},
        Rejection{"HeaderLengthOther",
                  with([](ArchiveFixture& f) { f.headerLengthRaw = 0x63000000; }), Unknown, false},
        Rejection{"MarkerZero", with([](ArchiveFixture& f) { f.marker = 0x00; }), Unknown, true},
        Rejection{"MarkerNearPlayerPackage", with([](ArchiveFixture& f) { f.marker = 0x19; }),
                  Unknown, true},
        Rejection{"EmptyFile", [] { return QByteArray(); }, Undecodable, true},
        Rejection{"HeaderCutShort", [] { return QByteArray("BIGF\x0a\0\0\0\0\0", 10); },
                  Undecodable, true},
        Rejection{"DirectoryCutShort",
                  [] {
                    QByteArray bytes = ArchiveFixture().build().left(60);
                    putWord(bytes, 4, 60);
                    return bytes;
                  },
                  Undecodable, true},
        Rejection{"MarkerPastEnd",
                  with([](ArchiveFixture& f) { f.memberOffsets[0] = f.length() - 12; }),
                  Undecodable, true},
        Rejection{"MarkerBeforeStart", with([](ArchiveFixture& f) { f.memberOffsets[0] = -13; }),
                  Undecodable, true},
        Rejection{"MarkerSumOverflows",
                  with([](ArchiveFixture& f) { f.memberOffsets[0] = INT32_MAX - 5; }), Undecodable,
                  true},
        Rejection{"NameTableBeforeStart", with([](ArchiveFixture& f) { f.memberOffsets[2] = -1; }),
                  Undecodable, true},
        Rejection{"NameTableStartPastEnd",
                  with([](ArchiveFixture& f) { f.memberOffsets[2] = f.length() - 11; }),
                  Undecodable, true},
        Rejection{"NameTableEndOverflows",
                  [] {
                    ArchiveFixture f;
                    QByteArray bytes = f.build();
                    const int32_t huge = INT32_MAX - 100;
                    putWord(bytes, f.offsetOf(3) + 8, huge);
                    return bytes;
                  },
                  Undecodable, true},
        Rejection{"IdentifierBeforeStart",
                  [] {
                    ArchiveFixture f;
                    QByteArray bytes = f.build();
                    const int32_t end = -f.offsetOf(3) + 5;  // E - 10 = -5
                    putWord(bytes, f.offsetOf(3) + 8, end);
                    return bytes;
                  },
                  Undecodable, true},
        Rejection{"IdentifierRunsPastEnd",
                  [] {
                    ArchiveFixture f;
                    QByteArray bytes = f.build();
                    // E - 10 + 7 lies one byte past the end of the file.
                    const int32_t end = static_cast<int32_t>(bytes.size()) - f.offsetOf(3) + 4;
                    putWord(bytes, f.offsetOf(3) + 8, end);
                    return bytes;
                  },
                  Undecodable, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadArchiveTest, MissingFileIsReportedAsUndecodable) {
  window.state().archivePath = dir.filePath("nowhere/missing.big");
  EXPECT_FALSE(ui::loadArchiveInto(window));
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0], Undecodable);
}

}  // namespace
