#include <gtest/gtest.h>

#include "fsh/describe.h"
#include "fsh/fsh_file.h"
#include "fsh/fsh_layout.h"
#include "fsh/image_file_kind.h"
#include "support/fsh_fixture.h"

namespace {

using fsh::ErrorKind;

FixtureBlock rawBlock(uint8_t code, QByteArray data, uint16_t width = 0, uint16_t height = 0) {
  FixtureBlock block;
  block.code = code;
  block.width = width;
  block.height = height;
  block.data = std::move(data);
  return block;
}

// Three entries: a bitmap with mipmaps and four kinds of attachment, a shared
// palette, and a second bitmap; a directory id and filler to keep.
FshFixture richFixture() {
  FshFixture fixture;
  fixture.directoryId = "G123";
  FixtureBlock bitmap = bitmapBlock(0x7D, noisePicture(QSize(8, 8), 1), 2);
  bitmap.centreX = 4;
  bitmap.centreY = 5;
  bitmap.xWord = 0x5007;
  fixture.entries = {
      {"img0",
       {bitmap, rawBlock(0x6F, "\x01\x00\x00\x00a comment"),
        rawBlock(0x70, QByteArray("face\0\0\0\0", 8)), rawBlock(0x7C, QByteArray(12, '\x02'))},
       {}},
      {"!pal", {paletteBlock(0x24, {0xFF102030, 0xFF405060})}, QByteArray(16, '\0')},
      {"img1", {bitmapBlock(0x78, noisePicture(QSize(4, 4), 2))}, {}},
  };
  return fixture;
}

void expectStructureOf(const FshFixture& fixture, const fsh::FshFile& file) {
  const QByteArray plain = fixture.build();
  EXPECT_EQ(file.bytes, plain);
  EXPECT_EQ(file.directoryId, fixture.directoryId);
  EXPECT_EQ(file.lengthField, uint32_t(plain.size()));
  ASSERT_EQ(file.entries.size(), fixture.entries.size());
  for (int e = 0; e < fixture.entries.size(); ++e) {
    const fsh::Entry& entry = file.entries[e];
    const FixtureEntry& expected = fixture.entries[e];
    EXPECT_EQ(entry.name, expected.name);
    EXPECT_EQ(entry.offset, fixture.entryOffset(e));
    EXPECT_EQ(entry.end,
              e + 1 < fixture.entries.size() ? fixture.entryOffset(e + 1) : plain.size());
    ASSERT_EQ(entry.blocks.size(), expected.blocks.size()) << "entry " << e;
    for (int b = 0; b < expected.blocks.size(); ++b) {
      const fsh::Block& block = entry.blocks[b];
      EXPECT_EQ(block.offset, fixture.blockOffset(e, b));
      EXPECT_EQ(block.code, expected.blocks[b].code);
      EXPECT_EQ(block.width, expected.blocks[b].width);
      EXPECT_EQ(block.height, expected.blocks[b].height);
      EXPECT_EQ(block.xWord, expected.blocks[b].xWord);
      EXPECT_EQ(block.yWord, expected.blocks[b].yWord);
      const bool last = b + 1 == expected.blocks.size();
      EXPECT_EQ(block.end, last ? entry.end : fixture.blockOffset(e, b + 1));
    }
  }
}

TEST(ParseFsh, FindsHeaderDirectoryAndEveryBlockChain) {
  const FshFixture fixture = richFixture();
  const auto file = fsh::parseFsh(fixture.build());
  ASSERT_TRUE(file) << file.error().message.toStdString();
  EXPECT_FALSE(file->compressedAsWhole);
  expectStructureOf(fixture, *file);
  EXPECT_EQ(file->entries[0].blocks[0].mipmapCount(), 2);
  EXPECT_EQ(fsh::mainBitmapEntry(*file), 0);
}

TEST(ParseFsh, LastBlocksThatStoreTheirOwnSizeEndTheirChain) {
  FshFixture fixture = richFixture();
  fixture.lastDistance = LastDistance::OwnSize;
  const auto file = fsh::parseFsh(fixture.build());
  ASSERT_TRUE(file) << file.error().message.toStdString();
  expectStructureOf(fixture, *file);
  EXPECT_NE(file->entries[1].blocks[0].nextDistance, 0u);
}

TEST(ParseFsh, EntriesOutOfFileOrderEndAtTheNextEntryInTheFile) {
  FshFixture fixture = richFixture();
  fixture.entryOffsetFields = {{0, uint32_t(fixture.entryOffset(2))},
                               {2, uint32_t(fixture.entryOffset(0))}};
  const QByteArray bytes = fixture.build();
  const auto file = fsh::parseFsh(bytes);
  ASSERT_TRUE(file) << file.error().message.toStdString();
  EXPECT_EQ(file->entries[0].offset, fixture.entryOffset(2));
  EXPECT_EQ(file->entries[0].end, bytes.size());
  EXPECT_EQ(file->entries[2].end, fixture.entryOffset(1));
  EXPECT_EQ(file->entries[2].blocks.size(), 4);
}

class CompressedAsWhole : public ::testing::TestWithParam<bool> {};

TEST_P(CompressedAsWhole, IsReadDecompressed) {
  const FshFixture fixture = richFixture();
  const QByteArray stream = literalRefpack(fixture.build(), GetParam());
  EXPECT_TRUE(fsh::looksLikeFsh(stream));
  const auto file = fsh::parseFsh(stream);
  ASSERT_TRUE(file) << file.error().message.toStdString();
  EXPECT_TRUE(file->compressedAsWhole);
  expectStructureOf(fixture, *file);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutSizeWord, CompressedAsWhole, ::testing::Bool());

TEST(LooksLikeFsh, ChecksTheMagicOrWhatACompressedStreamStartsWith) {
  const QByteArray plain = richFixture().build();
  EXPECT_TRUE(fsh::looksLikeFsh(plain));
  EXPECT_TRUE(fsh::looksLikeFsh(plain.left(4)));
  EXPECT_FALSE(fsh::looksLikeFsh(plain.left(3)));
  EXPECT_FALSE(fsh::looksLikeFsh(QByteArray()));
  EXPECT_FALSE(fsh::looksLikeFsh("BIGF and an archive"));
  EXPECT_FALSE(fsh::looksLikeFsh(literalRefpack("BIGF compressed")));
  EXPECT_FALSE(fsh::looksLikeFsh(QByteArray("\x10\xFB\x00\x00\x10", 5)));
}

// What a file offered for import holds, told from its first bytes alone.
TEST(FileKindOf, TellsPlainFromCompressedImagesAndBothFromOtherFiles) {
  using fsh::FileKind;
  const QByteArray plain = richFixture().build();
  const QByteArray large = literalRefpack(plain + QByteArray(3 * fsh::FileKindProbeSize, '\0'));
  EXPECT_EQ(fsh::fileKindOf(plain), FileKind::Image);
  EXPECT_EQ(fsh::fileKindOf(literalRefpack(plain)), FileKind::CompressedImage);
  EXPECT_EQ(fsh::fileKindOf(literalRefpack(plain, true)), FileKind::CompressedImage);
  EXPECT_EQ(fsh::fileKindOf(large.left(fsh::FileKindProbeSize)), FileKind::CompressedImage);
  EXPECT_EQ(fsh::fileKindOf("BIGF and an archive"), FileKind::Other);
  EXPECT_EQ(fsh::fileKindOf(literalRefpack("BIGF compressed")), FileKind::Other);
  EXPECT_EQ(fsh::fileKindOf(QByteArray("\x89PNG\r\n\x1A\n", 8)), FileKind::Other);
  EXPECT_EQ(fsh::fileKindOf(QByteArray()), FileKind::Other);
}

// A 4x4 ARGB8888 bitmap: header 16, directory 8, filler to 0x30, block 0x30-0x80.
FshFixture smallFixture() { return singleBitmap(0x7D, noisePicture(QSize(4, 4), 3)); }

struct MalformedCase {
  const char* name;
  QByteArray bytes;
  ErrorKind kind;
  const char* message;
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

MalformedCase withCount(uint32_t count, ErrorKind kind, const char* message) {
  FshFixture fixture = smallFixture();
  fixture.entryCountField = count;
  return {"entry count", fixture.build(), kind, message};
}

MalformedCase withOffset(uint32_t offset, const char* message) {
  FshFixture fixture = smallFixture();
  fixture.entryOffsetFields[0] = offset;
  return {"entry offset", fixture.build(), ErrorKind::Malformed, message};
}

MalformedCase withShortDistance() {
  FshFixture fixture = smallFixture();
  fixture.entries[0].blocks[0].nextDistance = 8;
  fixture.entries[0].blocks.append(rawBlock(0x6F, "comment"));
  return {"short distance", fixture.build(), ErrorKind::Malformed,
          "block at 0x30: next block distance 8 is shorter than a block header"};
}

class MalformedFsh : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFsh, IsRefusedWithWhatAndWhere) {
  const MalformedCase& c = GetParam();
  const auto file = fsh::parseFsh(c.bytes);
  ASSERT_FALSE(file);
  EXPECT_EQ(file.error().kind, c.kind);
  EXPECT_EQ(file.error().message.toStdString(), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStructuralFault, MalformedFsh,
    ::testing::Values(
        MalformedCase{"short", QByteArray("SHPI\0\0\0\0\0\0", 10), ErrorKind::Malformed,
                      "the file has 10 bytes, fewer than the 16 of an FSH header"},
        withCount(20000, ErrorKind::TooLarge,
                  "header at 0x8: 20000 entries are more than the limit of 16384"),
        withCount(100, ErrorKind::Malformed,
                  "header at 0x8: a directory of 100 entries ends at 0x330, past the end of the "
                  "file at 0x80"),
        withOffset(0x80,
                   "directory entry 0 (\"img0\") at 0x10: offset 0x80 lies outside the "
                   "data, which runs from 0x18 to 0x80"),
        withOffset(0x10,
                   "directory entry 0 (\"img0\") at 0x10: offset 0x10 lies outside the "
                   "data, which runs from 0x18 to 0x80"),
        withOffset(0x78, "block at 0x78: its header runs past the end of entry \"img0\" at 0x80"),
        withShortDistance(),
        MalformedCase{"another format", QByteArray("BIGF").repeated(8), ErrorKind::NotFsh,
                      "not an FSH image: it starts with neither SHPI nor a RefPack header"},
        MalformedCase{"compressed other data", literalRefpack("compressed, but no image"),
                      ErrorKind::NotFsh,
                      "not an FSH image: its compressed data does not start with SHPI"}));

TEST(MalformedFsh, ABrokenCompressedFileSaysWhereItsStreamBreaks) {
  QByteArray stream = literalRefpack(smallFixture().build());
  stream.chop(40);
  const auto file = fsh::parseFsh(stream);
  ASSERT_FALSE(file);
  EXPECT_EQ(file.error().message.toStdString(),
            "compressed file: RefPack stream ends inside the literal run at 0x5: 112 bytes "
            "announced, 90 left");
}

TEST(MalformedFsh, BlockAndFileSizesAreBounded) {
  FshFixture many = smallFixture();
  many.entries[0].blocks = QList<FixtureBlock>(65537, rawBlock(0x6F, {}));
  const auto tooManyBlocks = fsh::parseFsh(many.build());
  ASSERT_FALSE(tooManyBlocks);
  EXPECT_EQ(tooManyBlocks.error().kind, ErrorKind::TooLarge);
  EXPECT_EQ(tooManyBlocks.error().message.toStdString(),
            "block at 0x100030: the file has more than 65536 blocks");

  QByteArray huge = smallFixture().build();
  huge.resize(fsh::Layout::MaxFileSize + 1);
  const auto tooLarge = fsh::parseFsh(huge);
  ASSERT_FALSE(tooLarge);
  EXPECT_EQ(tooLarge.error().kind, ErrorKind::TooLarge);
}

struct MipmapCase {
  uint16_t yWord;
  uint8_t code;
  QSize size;
  int expected;
};

void PrintTo(const MipmapCase& c, std::ostream* os) {
  *os << std::hex << c.yWord << " code " << int(c.code) << std::dec << " " << c.size.width() << "x"
      << c.size.height();
}

class MipmapCount : public ::testing::TestWithParam<MipmapCase> {};

TEST_P(MipmapCount, CountsOnlyWhereItApplies) {
  const MipmapCase& c = GetParam();
  FshFixture fixture = smallFixture();
  FixtureBlock& block = fixture.entries[0].blocks[0];
  block.code = c.code;
  block.width = uint16_t(c.size.width());
  block.height = uint16_t(c.size.height());
  block.yWord = c.yWord;
  const auto file = fsh::parseFsh(fixture.build());
  ASSERT_TRUE(file);
  EXPECT_EQ(file->entries[0].blocks[0].mipmapCount(), c.expected);
  EXPECT_EQ(fsh::describe(*file)->mipmapCount, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MipmapCount,
    ::testing::Values(MipmapCase{0x3000, 0x7D, {8, 8}, 3}, MipmapCase{0x3000, 0x7D, {8, 16}, 3},
                      MipmapCase{0x2000, 0x7D, {12, 8}, 2},
                      MipmapCase{0x3001, 0x7D, {8, 8}, 0},  // y position 1
                      MipmapCase{0x3000, 0xFD, {8, 8}, 0},  // compressed
                      MipmapCase{0x4000, 0x7D, {8, 8}, 0},  // 8 is not divisible by 16
                      MipmapCase{0x2000, 0x7D, {8, 6}, 0},  // 6 is not divisible by 4
                      MipmapCase{0xF000, 0x60, {32768, 32768}, 15}));

struct DescribeCase {
  uint8_t code;
  const char* name;
  bool supported;
};

void PrintTo(const DescribeCase& c, std::ostream* os) { *os << c.name; }

class Describe : public ::testing::TestWithParam<DescribeCase> {};

TEST_P(Describe, NamesTheMainBitmapsFormat) {
  const DescribeCase& c = GetParam();
  FshFixture fixture = richFixture();
  std::swap(fixture.entries[0], fixture.entries[1]);  // a palette entry first
  FixtureBlock& block = fixture.entries[1].blocks[0];
  block.code = c.code | 0x80;
  block.data = literalRefpack(block.data);
  const auto file = fsh::parseFsh(literalRefpack(fixture.build()));
  ASSERT_TRUE(file);
  const auto description = fsh::describe(*file);
  ASSERT_TRUE(description);
  EXPECT_EQ(description->entryIndex, 1);
  EXPECT_EQ(description->entryName, "img0");
  EXPECT_EQ(description->code, c.code);
  EXPECT_EQ(description->formatName.toStdString(), c.name);
  EXPECT_EQ(description->supported, c.supported);
  EXPECT_EQ(description->width, 8);
  EXPECT_EQ(description->height, 8);
  EXPECT_EQ(description->mipmapCount, 0);  // compressed
  EXPECT_TRUE(description->blockCompressed);
  EXPECT_TRUE(description->fileCompressed);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCode, Describe,
    ::testing::Values(DescribeCase{0x60, "DXT1", true}, DescribeCase{0x61, "DXT3", true},
                      DescribeCase{0x62, "DXT5", true}, DescribeCase{0x7D, "ARGB8888", true},
                      DescribeCase{0x7F, "RGB888", true}, DescribeCase{0x78, "RGB565", true},
                      DescribeCase{0x7E, "ARGB1555", true}, DescribeCase{0x6D, "ARGB4444", true},
                      DescribeCase{0x7B, "Indexed8", true},
                      DescribeCase{0x79, "unknown 0x79", false},
                      DescribeCase{0x0A, "unknown 0x0A", false}));

TEST(Describe, AFileOfPalettesOnlyHasNoBitmap) {
  FshFixture fixture;
  fixture.entries = {{"!pal", {paletteBlock(0x2A, {0xFF000000})}, {}}};
  const auto file = fsh::parseFsh(fixture.build());
  ASSERT_TRUE(file);
  const auto description = fsh::describe(*file);
  ASSERT_FALSE(description);
  EXPECT_EQ(description.error().message.toStdString(), "the file holds no bitmap");
}

}  // namespace
