// The archive operations a front end calls, on plain paths with no window:
// saving under a new identifier, checking an identifier, reading, exporting and
// importing the portrait.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtEndian>

#include "archive/portrait_identifier.h"
#include "archive/portrait_image.h"
#include "archive/save_archive.h"
#include "support/archive_fixture.h"
#include "support/file_snapshot.h"

namespace {

using Kind = archive::ArchiveError::Kind;

class ArchiveOperations : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    return writeFile(dir.filePath(name), bytes);
  }
  QTemporaryDir dir;
};

TEST_F(ArchiveOperations, SaveWritesTheIdentifierForTheArchivesKindOnly) {
  const ArchiveFixture jersey = ArchiveFixture::jersey("old0001");
  const QString source = write("jersey.big", jersey.build());

  ASSERT_TRUE(archive::saveWithIdentifier(source, dir.filePath("as-jersey.big"),
                                          archive::ArchiveKind::Jersey, "New0001"));
  EXPECT_EQ(readFile(dir.filePath("as-jersey.big")), jersey.buildSavedAs("new0001", "new0001", 11));

  // The kind the caller saw is checked against the file: a jersey written over
  // a loaded player package is not patched as a player package.
  const auto asPackage = archive::saveWithIdentifier(
      source, dir.filePath("as-package.big"), archive::ArchiveKind::PlayerPackage, "New0001");
  ASSERT_FALSE(asPackage);
  EXPECT_EQ(asPackage.error().kind, Kind::KindChanged);
  EXPECT_FALSE(QFile::exists(dir.filePath("as-package.big")));
  EXPECT_EQ(readFile(source), jersey.build());
}

TEST_F(ArchiveOperations, SaveRefusalsNameTheFaultAndWriteNothing) {
  ArchiveFixture shortNameTable = ArchiveFixture::jersey();
  shortNameTable.nameTableEnd = 121;  // eleven copies need 110 bytes behind its 12-byte start
  ArchiveFixture markerUnderCopy;
  markerUnderCopy.nameTableId = QByteArray("\x18zzzzzz");
  markerUnderCopy.memberOffsets[0] = markerUnderCopy.lastIdentifierCopy() - 12;
  const struct {
    QByteArray archive;
    archive::ArchiveKind kind;
    QString identifier;
    Kind expected;
  } cases[] = {
      {ArchiveFixture().build(), archive::ArchiveKind::Jersey, "", Kind::IdentifierMissing},
      {ArchiveFixture().build(), archive::ArchiveKind::PlayerPackage, "abcdef",
       Kind::IdentifierLength},
      {ArchiveFixture().build(), archive::ArchiveKind::PlayerPackage, QString::fromUtf8("abcdefĀ"),
       Kind::IdentifierNotLatin1},
      {ArchiveFixture().build() + "x", archive::ArchiveKind::PlayerPackage, "abcdefg",
       Kind::SizeMismatch},
      {shortNameTable.build(), archive::ArchiveKind::Jersey, "abcdefg", Kind::NameTableOutside},
      {markerUnderCopy.build(), archive::ArchiveKind::PlayerPackage, "abcdefg",
       Kind::WouldOverwriteLoadBytes},
  };
  for (const auto& c : cases) {
    const QString source = write("source.big", c.archive);
    const QString existing = write("existing.big", "old content");
    const FileTree before = snapshotTree(dir.path());
    for (const QString& target : {dir.filePath("new.big"), existing, source}) {
      const auto saved = archive::saveWithIdentifier(source, target, c.kind, c.identifier);
      ASSERT_FALSE(saved) << target.toStdString();
      EXPECT_EQ(saved.error().kind, c.expected) << saved.error().detail.toStdString();
    }
    EXPECT_EQ(snapshotTree(dir.path()), before);
  }
}

struct IdentifierCase {
  const char* name;
  QString text;
  QByteArray lowerCase;  // empty: refused with kind
  QByteArray upperCase;
  Kind kind;
};
void PrintTo(const IdentifierCase& c, std::ostream* os) { *os << c.name; }

class ValidateIdentifier : public ::testing::TestWithParam<IdentifierCase> {};

TEST_P(ValidateIdentifier, GivesTheBytesToStoreOrTheFault) {
  const IdentifierCase& c = GetParam();
  const auto identifier = archive::validateIdentifier(c.text);
  if (c.lowerCase.isEmpty()) {
    ASSERT_FALSE(identifier);
    EXPECT_EQ(identifier.error().kind, c.kind);
    return;
  }
  ASSERT_TRUE(identifier) << identifier.error().detail.toStdString();
  EXPECT_EQ(identifier->lowerCase, c.lowerCase);
  EXPECT_EQ(identifier->upperCase, c.upperCase);
  EXPECT_EQ(identifier->directoryBytes(archive::ArchiveKind::PlayerPackage), c.upperCase);
  EXPECT_EQ(identifier->directoryBytes(archive::ArchiveKind::Jersey), c.lowerCase);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ValidateIdentifier,
    ::testing::Values(
        IdentifierCase{"Mixed", "Ab12Cd3", "ab12cd3", "AB12CD3", Kind::IdentifierLength},
        IdentifierCase{"CombiningAccent", QString::fromUtf8("abcde\u0301fg"),
                       "abcd\xE9"
                       "fg",
                       "ABCD\xC9"
                       "FG",
                       Kind::IdentifierLength},
        // y with diaeresis and the micro sign have no Latin-1 upper case.
        IdentifierCase{"NoUpperCaseInLatin1", QString::fromUtf8("ÿµabcde"),
                       "\xFF\xB5"
                       "abcde",
                       "\xFF\xB5"
                       "ABCDE",
                       Kind::IdentifierLength},
        IdentifierCase{"Empty", "", {}, {}, Kind::IdentifierLength},
        IdentifierCase{"Eight", "abcdefgh", {}, {}, Kind::IdentifierLength},
        IdentifierCase{
            "EmojiMakesSeven", QString::fromUtf8("abcdef😀"), {}, {}, Kind::IdentifierNotLatin1},
        IdentifierCase{"UncomposableAccent",
                       QString::fromUtf8("abcdefq\u0301"),
                       {},
                       {},
                       Kind::IdentifierLength}),
    [](const auto& info) { return std::string(info.param.name); });

// A letter with 30,000 combining marks of mixed classes: composing all of it
// takes seconds (the marks are sorted by class first), and it could never
// come to 7 characters.
TEST(ValidateIdentifierTime, AVeryLongTextIsRefusedAtOnce) {
  QString text = "a";
  for (int i = 0; i < 30000; ++i) text += QChar(0x0300 + i % 0x30);
  QElapsedTimer timer;
  timer.start();
  const auto identifier = archive::validateIdentifier(text);
  EXPECT_LT(timer.elapsed(), 2000);
  ASSERT_FALSE(identifier);
  EXPECT_EQ(identifier.error().kind, Kind::IdentifierLength);
}

TEST_F(ArchiveOperations, ReadAndExportGiveExactlyThePortraitsOwnLength) {
  ArchiveFixture fixture;
  fixture.imageLength = 5000;
  fixture.memberSizes[3] = 1;  // the directory's size is never used
  fixture.trailingBytes = 40;
  const QByteArray archive = fixture.build();
  const QString path = write("archive.big", archive);
  const QByteArray image = archive.mid(fixture.offsetOf(4), 5000);

  const auto read = archive::readPortrait(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, image);
  ASSERT_TRUE(archive::exportPortrait(path, dir.filePath("portrait.fsh")));
  EXPECT_EQ(readFile(dir.filePath("portrait.fsh")), image);
  EXPECT_EQ(readFile(path), archive);
}

TEST_F(ArchiveOperations, ReadingAPortraitThatIsNotThereNamesTheFault) {
  struct Case {
    std::function<void(ArchiveFixture&)> change;
    Kind kind;
  };
  const Case cases[] = {
      {[](ArchiveFixture& f) { f.archiveSizeField = 1; }, Kind::SizeMismatch},
      {[](ArchiveFixture& f) { f.imageLengthField = 7; }, Kind::NoImageLength},
      {[](ArchiveFixture& f) { f.imageLengthField = INT32_MAX; }, Kind::ImagePastEnd},
      {[](ArchiveFixture& f) { f.memberOffsets[3] = -1; }, Kind::PositionBeforeStart},
      {[](ArchiveFixture& f) { f.memberOffsets[3] = f.length() - 7; }, Kind::PastEndOfFile},
  };
  for (const Case& c : cases) {
    ArchiveFixture fixture;
    c.change(fixture);
    const auto read = archive::readPortrait(write("archive.big", fixture.build()));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().kind, c.kind) << read.error().detail.toStdString();
  }
}

TEST_F(ArchiveOperations, ImportFromAFileAndFromBytesGiveTheSameArchive) {
  ArchiveFixture fixture = ArchiveFixture::jersey();
  fixture.trailingBytes = 3;
  for (const int32_t length : {fixture.imageLength, 300}) {
    const QByteArray image = fshImage(length, std::nullopt, 77);
    const QString fromFile = write("from-file.big", fixture.build());
    const QString fromBytes = write("from-bytes.big", fixture.build());
    ASSERT_TRUE(archive::importPortrait(fromFile, write("image.fsh", image))) << length;
    ASSERT_TRUE(archive::importPortraitBytes(fromBytes, image)) << length;

    const QByteArray result = readFile(fromFile);
    EXPECT_EQ(readFile(fromBytes), result);
    EXPECT_EQ(result.mid(fixture.offsetOf(4), length), image);
    EXPECT_EQ(qFromLittleEndian<int32_t>(result.constData() + 4), result.size());
    EXPECT_EQ(*archive::readPortrait(fromBytes), image);
  }
}

TEST_F(ArchiveOperations, ImportRefusalsNameTheFaultAndWriteNothing) {
  ArchiveFixture notLast;
  notLast.memberOffsets[1] = notLast.offsetOf(4) + 1;
  struct Case {
    QByteArray archive;
    QByteArray image;
    Kind kind;
  };
  const Case cases[] = {
      {ArchiveFixture().build(), {}, Kind::EmptyImageFile},
      {ArchiveFixture().build(), "SHPI", Kind::NotAnImage},
      {ArchiveFixture().build(), fshImage(256, 255), Kind::NotAnImage},
      {ArchiveFixture().build() + "x", fshImage(256), Kind::SizeMismatch},
      {notLast.build(), fshImage(300), Kind::ImageLengthDiffers},
  };
  for (const Case& c : cases) {
    const QString archive = write("archive.big", c.archive);
    const QString image = write("image.fsh", c.image);
    const FileTree before = snapshotTree(dir.path());
    const auto fromFile = archive::importPortrait(archive, image);
    const auto fromBytes = archive::importPortraitBytes(archive, c.image);
    ASSERT_FALSE(fromFile);
    ASSERT_FALSE(fromBytes);
    EXPECT_EQ(fromFile.error().kind, c.kind) << fromFile.error().detail.toStdString();
    EXPECT_EQ(fromBytes.error().kind, c.kind);
    EXPECT_EQ(snapshotTree(dir.path()), before);
  }
}

}  // namespace
