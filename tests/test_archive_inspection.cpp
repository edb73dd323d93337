// inspectArchive on plain paths, with no window: what an archive holds, or the
// kind of error a front end can switch on.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <functional>

#include "archive/archive_inspection.h"
#include "support/archive_fixture.h"
#include "support/file_snapshot.h"

namespace {

class InspectArchive : public ::testing::Test {
 protected:
  Expected<archive::ArchiveInfo, archive::ArchiveError> inspect(const QByteArray& bytes) {
    return archive::inspectArchive(writeFile(dir.filePath("archive.big"), bytes));
  }
  QTemporaryDir dir;
};

TEST_F(InspectArchive, TellsWhatAPlayerPackageHolds) {
  ArchiveFixture fixture = ArchiveFixture::playerPackage("xy98zz1");
  fixture.trailingBytes = 5;
  const auto info = inspect(fixture.build());
  ASSERT_TRUE(info) << info.error().detail.toStdString();
  EXPECT_EQ(info->kind, archive::ArchiveKind::PlayerPackage);
  EXPECT_EQ(info->identifier, "xy98zz1");
  EXPECT_EQ(info->archiveSize, fixture.length());
  EXPECT_EQ(info->lastIdentifierCopy, fixture.lastIdentifierCopy());
  EXPECT_EQ(info->fixedPart.entries[3].memberOffset, fixture.offsetOf(4));
  EXPECT_EQ(info->portrait.offset, fixture.offsetOf(4));
  EXPECT_EQ(info->portrait.ownLength, fixture.imageLength);
  EXPECT_TRUE(info->portrait.isLastMember);
  EXPECT_EQ(entryNames(dir.path()), QStringList{"archive.big"});
}

TEST_F(InspectArchive, TellsWhatAJerseyHoldsAndWhereItsPortraitLies) {
  ArchiveFixture fixture = ArchiveFixture::jersey("jrs0002");
  fixture.imageLengthField = 999;  // not judged here
  fixture.memberOffsets[1] = fixture.offsetOf(4) + 1;
  const auto info = inspect(fixture.build());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->kind, archive::ArchiveKind::Jersey);
  EXPECT_EQ(info->identifier, "jrs0002");
  EXPECT_EQ(info->portrait.ownLength, 999);
  EXPECT_FALSE(info->portrait.isLastMember);

  // A portrait said to start outside the file has no length word to tell,
  // even where the bytes at its offset + 4 would lie inside.
  for (const int32_t offset : {fixture.length() - 6, -1}) {
    fixture.memberOffsets[3] = offset;
    const auto outside = inspect(fixture.build());
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->portrait.ownLength, std::nullopt) << offset;
  }
}

struct RefusedCase {
  const char* name;
  std::function<QByteArray()> bytes;
  archive::ArchiveError::Kind kind;
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class InspectRefusal : public InspectArchive, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(InspectRefusal, NamesTheKindOfFault) {
  const auto info = inspect(GetParam().bytes());
  ASSERT_FALSE(info);
  EXPECT_EQ(info.error().kind, GetParam().kind) << info.error().detail.toStdString();
}

std::function<QByteArray()> with(std::function<void(ArchiveFixture&)> change) {
  return [change] {
    ArchiveFixture fixture;
    change(fixture);
    return fixture.build();
  };
}

std::function<QByteArray()> withNameTableEnd(int32_t end) {
  return [end] {
    ArchiveFixture fixture;
    QByteArray bytes = fixture.build();
    putWord(bytes, fixture.offsetOf(3) + 8, end);
    return bytes;
  };
}

using Kind = archive::ArchiveError::Kind;

INSTANTIATE_TEST_SUITE_P(
    Faults, InspectRefusal,
    ::testing::Values(
        RefusedCase{"SizeField", with([](ArchiveFixture& f) { f.archiveSizeField = 7; }),
                    Kind::SizeMismatch},
        RefusedCase{"NotPortrait", with([](ArchiveFixture& f) { f.headerLengthRaw = 0x5D000000; }),
                    Kind::NotPortrait},
        RefusedCase{"HeaderLength", with([](ArchiveFixture& f) { f.headerLengthRaw = 0x62; }),
                    Kind::UnknownHeaderLength},
        RefusedCase{"Marker", with([](ArchiveFixture& f) { f.marker = 0x8D; }),
                    Kind::UnknownMarker},
        RefusedCase{"EmptyFile", [] { return QByteArray(); }, Kind::OutsideFile},
        RefusedCase{"MarkerBeforeStart", with([](ArchiveFixture& f) { f.memberOffsets[0] = -13; }),
                    Kind::OutsideFile},
        RefusedCase{"MarkerSumOverflows",
                    with([](ArchiveFixture& f) { f.memberOffsets[0] = INT32_MAX - 5; }),
                    Kind::OutsideFile},
        RefusedCase{"NameTablePastEnd",
                    with([](ArchiveFixture& f) { f.memberOffsets[2] = f.length() - 11; }),
                    Kind::OutsideFile},
        RefusedCase{"NameTableEndOverflows", withNameTableEnd(INT32_MAX - 100), Kind::OutsideFile},
        RefusedCase{"IdentifierBeforeStart", withNameTableEnd(-ArchiveFixture().offsetOf(3) + 5),
                    Kind::OutsideFile}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InspectArchive, AnOverflowKeepsItsNumberBehindTheContentFault) {
  ArchiveFixture fixture;
  fixture.memberOffsets[0] = INT32_MAX - 5;
  const auto info = inspect(fixture.build());
  ASSERT_FALSE(info);
  EXPECT_EQ(info.error().kind, Kind::OutsideFile);
  EXPECT_EQ(info.error().number, fileio::FileError::overflow().number);
}

TEST_F(InspectArchive, WhatTheSystemRefusesIsASystemErrorWithItsErrno) {
  const auto info = archive::inspectArchive(dir.filePath("missing.big"));
  ASSERT_FALSE(info);
  EXPECT_EQ(info.error().kind, Kind::SystemError);
  EXPECT_EQ(info.error().number, ENOENT);
  EXPECT_EQ(info.error().detail, QString::fromLocal8Bit(std::strerror(ENOENT)));
}

TEST_F(InspectArchive, AFolderIsNotAnArchive) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  const auto info = archive::inspectArchive(dir.filePath("folder"));
  ASSERT_FALSE(info);
  EXPECT_EQ(info.error(), archive::ArchiveError(
                              fileio::FileError::notRegularFile(dir.filePath("folder"), S_IFDIR)));
}

}  // namespace
