#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "archive/load_archive.h"
#include "support/archive_fixture.h"
#include "support/recording_window.h"

namespace {

class LoadArchiveTest : public ::testing::Test {
 protected:
  QString Write(const QByteArray& bytes, const QString& name = "archive.big") {
    return WriteFile(dir.filePath(name), bytes);
  }
  bool LoadFile(const QString& path) {
    window.State().ArchivePath = path;
    return LoadArchive(window);
  }
  bool Load(const ArchiveFixture& fixture) { return LoadFile(Write(fixture.Build())); }

  QTemporaryDir dir;
  RecordingWindow window;
};

TEST_F(LoadArchiveTest, PlayerPackageFillsPkgtxtInOrder) {
  ASSERT_TRUE(Load(ArchiveFixture::PlayerPackage("xy98zz1")));
  EXPECT_EQ(window.calls, QStringList({"pointer 11", "Showsize 0.53 KB", "pkgtxt text xy98zz1",
                                       "jrsytxt text ", "jrsytxt disabled", "pkgtxt enabled",
                                       "file buttons enabled", "pointer 0"}));
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(LoadArchiveTest, JerseyAfterPlayerPackageSwapsTheBoxes) {
  ASSERT_TRUE(Load(ArchiveFixture::PlayerPackage("pkg0001")));
  ASSERT_TRUE(Load(ArchiveFixture::Jersey("jrs0002")));
  EXPECT_EQ(window.text[0], "");
  EXPECT_FALSE(window.enabled[0]);
  EXPECT_EQ(window.text[1], "jrs0002");
  EXPECT_TRUE(window.enabled[1]);
  EXPECT_TRUE(window.fileButtons);
  EXPECT_EQ(window.pointer, MousePointer::Default);
}

TEST_F(LoadArchiveTest, IdentifierComesFromTheLastNameTableCopy) {
  ArchiveFixture fixture = ArchiveFixture::Jersey("table01");
  fixture.DirectoryId = QByteArray("dirname");
  // Nothing but the size field, header length and directory offsets matters.
  fixture.Magic = "XXXX";
  fixture.MemberCount = -7;
  fixture.MemberSizes = {0, -1, 0x7FFFFFFF, 5};
  ASSERT_TRUE(Load(fixture));
  EXPECT_EQ(window.text[1], "table01");

  // Only the last copy (at E - 10) counts.
  QByteArray bytes = fixture.Build();
  bytes.replace(fixture.LastIdentifierCopy(), 7, "last999");
  ASSERT_TRUE(LoadFile(Write(bytes)));
  EXPECT_EQ(window.text[1], "last999");
}

TEST_F(LoadArchiveTest, IdentifierBytesAreLatin1Characters) {
  QByteArray id("a\xE9\xFF\x01z\x80q", 7);
  ASSERT_TRUE(Load(ArchiveFixture::PlayerPackage(id)));
  const QString shown = window.text[0];
  ASSERT_EQ(shown.size(), 7);
  EXPECT_EQ(shown[1], QChar(0xE9));
  EXPECT_EQ(shown[2], QChar(0xFF));
  EXPECT_EQ(shown[5], QChar(0x80));
}

TEST_F(LoadArchiveTest, ReadOnlyArchiveLoads) {
  const QString path = Write(ArchiveFixture::PlayerPackage().Build());
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  EXPECT_TRUE(LoadFile(path));
  EXPECT_EQ(window.text[0], "ab12cd3");
}

TEST_F(LoadArchiveTest, Member1OffsetJustBeforeTheFileReadsAHeaderByte) {
  ArchiveFixture fixture;
  fixture.MemberOffsets[0] = -12;  // the marker is then byte 0 of the magic
  fixture.Magic = QByteArray("\x18IGF", 4);
  EXPECT_TRUE(Load(fixture));
  EXPECT_EQ(window.text[0], "ab12cd3");
}

TEST_F(LoadArchiveTest, LargeSparseArchiveLoadsWithoutReadingIt) {
  ArchiveFixture fixture;
  fixture.ArchiveSizeField = 1 << 30;
  const QString path = Write(fixture.Build());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.resize(1 << 30));  // sparse: no blocks written
  file.close();
  EXPECT_TRUE(LoadFile(path));
  EXPECT_EQ(window.showsize, "1073741.824 KB");
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
  window.ShowLoaded(IdentifierBox::jrsytxt, "before1", "1.5 KB");
  window.calls.clear();
  EXPECT_FALSE(LoadFile(Write(GetParam().bytes(), "rejected.big")));

  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0], GetParam().message);
  const QString message = "message " + GetParam().message.Text + "|" + GetParam().message.Caption;
  if (GetParam().pointerResetBeforeMessage)
    EXPECT_EQ(window.calls.mid(window.calls.size() - 2), QStringList({"pointer 0", message}));
  else
    EXPECT_EQ(window.calls.mid(window.calls.size() - 2), QStringList({message, "pointer 0"}));
  EXPECT_EQ(window.pointer, MousePointer::Default);
  EXPECT_EQ(window.text[1], "before1");
  EXPECT_TRUE(window.enabled[1]);
  EXPECT_EQ(window.text[0], "");
  EXPECT_FALSE(window.enabled[0]);
  EXPECT_EQ(window.showsize, "1.5 KB");
  EXPECT_TRUE(window.fileButtons);
}

std::function<QByteArray()> With(std::function<void(ArchiveFixture&)> change) {
  return [change] {
    ArchiveFixture fixture;
    change(fixture);
    return fixture.Build();
  };
}

const RecordedMessage TooBig{"File size is too big.", "Invalid File", MessageStyle::Plain};
const RecordedMessage NotPortrait{"Not a portrait!! :)", "Error", MessageStyle::Plain};
const RecordedMessage Unknown{"Unknown Format", "Error", MessageStyle::Plain};
const RecordedMessage Undecodable{"Unable to decode binary file.", "Error", MessageStyle::Plain};

INSTANTIATE_TEST_SUITE_P(
    FailureTable, LoadRejection,
    ::testing::Values(
        Rejection{"SizeFieldOneByteLong",
                  With([](ArchiveFixture& f) { f.ArchiveSizeField = f.Length() + 1; }), TooBig,
                  true},
        Rejection{"SizeFieldOneByteShort",
                  With([](ArchiveFixture& f) { f.ArchiveSizeField = f.Length() - 1; }), TooBig,
                  true},
        Rejection{"NotAPortrait", With([](ArchiveFixture& f) { f.HeaderLengthRaw = 0x5D000000; }),
                  NotPortrait, false},
        Rejection{"HeaderLengthLittleEndian",
                  With([](ArchiveFixture& f) { f.HeaderLengthRaw = 0x00000062; }), Unknown, false},
        Rejection{"HeaderLengthOther",
                  With([](ArchiveFixture& f) { f.HeaderLengthRaw = 0x63000000; }), Unknown, false},
        Rejection{"MarkerZero", With([](ArchiveFixture& f) { f.Marker = 0x00; }), Unknown, true},
        Rejection{"MarkerNearPlayerPackage", With([](ArchiveFixture& f) { f.Marker = 0x19; }),
                  Unknown, true},
        Rejection{"EmptyFile", [] { return QByteArray(); }, Undecodable, true},
        Rejection{"HeaderCutShort", [] { return QByteArray("BIGF\x0a\0\0\0\0\0", 10); },
                  Undecodable, true},
        Rejection{"DirectoryCutShort",
                  [] {
                    QByteArray bytes = ArchiveFixture().Build().left(60);
                    PutWord(bytes, 4, 60);
                    return bytes;
                  },
                  Undecodable, true},
        Rejection{"MarkerPastEnd",
                  With([](ArchiveFixture& f) { f.MemberOffsets[0] = f.Length() - 12; }),
                  Undecodable, true},
        Rejection{"MarkerBeforeStart", With([](ArchiveFixture& f) { f.MemberOffsets[0] = -13; }),
                  Undecodable, true},
        Rejection{"MarkerSumOverflows",
                  With([](ArchiveFixture& f) { f.MemberOffsets[0] = INT32_MAX - 5; }), Undecodable,
                  true},
        Rejection{"NameTableBeforeStart", With([](ArchiveFixture& f) { f.MemberOffsets[2] = -1; }),
                  Undecodable, true},
        Rejection{"NameTableStartPastEnd",
                  With([](ArchiveFixture& f) { f.MemberOffsets[2] = f.Length() - 11; }),
                  Undecodable, true},
        Rejection{"NameTableEndOverflows",
                  [] {
                    ArchiveFixture f;
                    QByteArray bytes = f.Build();
                    const int32_t huge = INT32_MAX - 100;
                    PutWord(bytes, f.OffsetOf(3) + 8, huge);
                    return bytes;
                  },
                  Undecodable, true},
        Rejection{"IdentifierBeforeStart",
                  [] {
                    ArchiveFixture f;
                    QByteArray bytes = f.Build();
                    const int32_t end = -f.OffsetOf(3) + 5;  // E - 10 = -5
                    PutWord(bytes, f.OffsetOf(3) + 8, end);
                    return bytes;
                  },
                  Undecodable, true},
        Rejection{"IdentifierRunsPastEnd",
                  [] {
                    ArchiveFixture f;
                    QByteArray bytes = f.Build();
                    // E - 10 + 7 lies one byte past the end of the file.
                    const int32_t end = static_cast<int32_t>(bytes.size()) - f.OffsetOf(3) + 4;
                    PutWord(bytes, f.OffsetOf(3) + 8, end);
                    return bytes;
                  },
                  Undecodable, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadArchiveTest, MissingFileIsReportedAsUndecodable) {
  window.State().ArchivePath = dir.filePath("nowhere/missing.big");
  EXPECT_FALSE(LoadArchive(window));
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0], Undecodable);
}

}  // namespace
