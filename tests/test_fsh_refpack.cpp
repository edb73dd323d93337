#include <gtest/gtest.h>

#include <QByteArray>
#include <random>

#include "fsh/refpack.h"
#include "support/fsh_fixture.h"

namespace {

using fsh::ErrorKind;

QByteArray bytes(std::initializer_list<int> values) {
  QByteArray out;
  for (const int v : values) out.append(char(v));
  return out;
}

QByteArray randomBytes(qsizetype size, uint32_t seed) {
  std::mt19937 random(seed);
  QByteArray out(size, '\0');
  for (char& c : out) c = char(random());
  return out;
}

struct StreamCase {
  const char* name;
  QByteArray stream;
  QByteArray output;
};

void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.name; }

class RefpackStreams : public ::testing::TestWithParam<StreamCase> {};

TEST_P(RefpackStreams, DecodeToTheirOutput) {
  const StreamCase& c = GetParam();
  const auto result = fsh::refpackDecompress(c.stream);
  ASSERT_TRUE(result) << result.error().message.toStdString();
  EXPECT_EQ(result->bytes, c.output);
  EXPECT_LE(result->consumed, c.stream.size());
}

QByteArray repeated(const QByteArray& unit, int times) { return unit.repeated(times); }

// 70,000 literal bytes, then one long match that copies 1,000 of them from 70,000 back.
StreamCase farMatch() {
  const QByteArray data = randomBytes(70000, 7);
  const int size = 71000;
  QByteArray stream = bytes({0x10, 0xFB, size >> 16, (size >> 8) & 0xFF, size & 0xFF});
  for (qsizetype at = 0; at < data.size(); at += 100) {
    stream.append(char(0xE0 + (100 - 4) / 4));
    stream += data.mid(at, 100);
  }
  const int distance = 70000 - 1, length = 1000 - 5;
  stream += bytes({0xC0 | (distance >> 16) << 4 | (length >> 8) << 2, (distance >> 8) & 0xFF,
                   distance & 0xFF, length & 0xFF, 0xFC});
  return {"long match from 70000 back", stream, data + data.left(1000)};
}

INSTANTIATE_TEST_SUITE_P(
    EveryControlCode, RefpackStreams,
    ::testing::Values(
        StreamCase{"literal runs and a stop with literals",
                   bytes({0x10, 0xFB, 0, 0, 5, 0xE0, 'a', 'b', 'c', 'd', 0xFD, 'e'}), "abcde"},
        StreamCase{"short match overlapping itself",
                   bytes({0x10, 0xFB, 0, 0, 9, 0x0F, 0x02, 'a', 'b', 'c', 0xFC}), "abcabcabc"},
        StreamCase{"run of one byte", bytes({0x10, 0xFB, 0, 0, 11, 0x1D, 0x00, 'x', 0xFC}),
                   QByteArray(11, 'x')},
        StreamCase{"medium match",
                   bytes({0x10, 0xFB, 0, 0, 12, 0xE0, 'w', 'x', 'y', 'z', 0x84, 0x00, 0x03, 0xFC}),
                   "wxyzwxyzwxyz"},
        StreamCase{"medium match with literals in its second byte",
                   bytes({0x10, 0xFB, 0, 0, 8, 0x82, 0x80, 0x01, 'p', 'q', 0xFC}), "pqpqpqpq"},
        StreamCase{
            "long match",
            bytes({0x10, 0xFB, 0, 0x01, 0x30, 0xE0, '0', '1', '2', '3', 0xC4, 0, 3, 0x27, 0xFC}),
            repeated("0123", 76)},
        farMatch(),
        StreamCase{"4-byte size fields",
                   bytes({0x90, 0xFB, 0, 0, 0, 4, 0xE0, 'a', 'b', 'c', 'd', 0xFC}), "abcd"},
        StreamCase{"compressed size before the size",
                   bytes({0x11, 0xFB, 0, 0, 12, 0, 0, 4, 0xE0, 'a', 'b', 'c', 'd', 0xFC}), "abcd"},
        StreamCase{"size word before the header",
                   bytes({12, 0, 0, 0, 0x10, 0xFB, 0, 0, 4, 0xE0, 'a', 'b', 'c', 'd', 0xFC}),
                   "abcd"},
        StreamCase{"no stop code after the last byte",
                   bytes({0x10, 0xFB, 0, 0, 4, 0xE0, 'a', 'b', 'c', 'd'}), "abcd"},
        StreamCase{"empty", bytes({0x10, 0xFB, 0, 0, 0, 0xFC}), QByteArray()}));

struct BrokenCase {
  const char* name;
  QByteArray stream;
  ErrorKind kind;
  const char* message;
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

class BrokenRefpackStreams : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenRefpackStreams, AreRefusedWithWhatAndWhere) {
  const BrokenCase& c = GetParam();
  const auto result = fsh::refpackDecompress(c.stream);
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().kind, c.kind);
  EXPECT_EQ(result.error().message.toStdString(), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    WhatCanGoWrong, BrokenRefpackStreams,
    ::testing::Values(
        BrokenCase{"truncated match",
                   bytes({0x10, 0xFB, 0, 0, 9, 0xE0, 'a', 'b', 'c', 'd', 0xC0, 0}),
                   ErrorKind::Malformed, "RefPack stream ends inside a match at 0xA"},
        BrokenCase{"truncated literals", bytes({0x10, 0xFB, 0, 0, 5, 0xE0, 'a', 'b'}),
                   ErrorKind::Malformed,
                   "RefPack stream ends inside the literal run at 0x5: 4 bytes announced, 2 left"},
        BrokenCase{"distance before the start",
                   bytes({0x10, 0xFB, 0, 0, 9, 0x0F, 0x05, 'a', 'b', 'c', 0xFC}),
                   ErrorKind::Malformed,
                   "RefPack stream at 0x5: match distance 6 reaches before the start of the output "
                   "(3 bytes written)"},
        BrokenCase{"more than declared",
                   bytes({0x10, 0xFB, 0, 0, 4, 0x0F, 0x02, 'a', 'b', 'c', 0xFC}),
                   ErrorKind::Malformed,
                   "RefPack stream at 0x5: 9 more bytes run past the declared size 4"},
        BrokenCase{"ends early", bytes({0x10, 0xFB, 0, 0, 8, 0xE0, 'a', 'b', 'c', 'd'}),
                   ErrorKind::Malformed, "RefPack stream ends after 4 of the declared 8 bytes"},
        BrokenCase{"stops early", bytes({0x10, 0xFB, 0, 0, 8, 0xFD, 'a', 0, 0}),
                   ErrorKind::Malformed, "RefPack stream stops after 1 of the declared 8 bytes"},
        BrokenCase{"declares too much", bytes({0x90, 0xFB, 0x05, 0, 0, 0, 0xFC}),
                   ErrorKind::TooLarge,
                   "RefPack stream declares 83886080 bytes, more than the limit of 67108864"},
        BrokenCase{"declares more than it can hold", bytes({0x10, 0xFB, 0x10, 0, 0, 0xFC}),
                   ErrorKind::Malformed,
                   "RefPack stream of 6 bytes cannot hold the declared 1048576 bytes"},
        BrokenCase{"no header", QByteArray("SHPI\0\0\0\0", 8), ErrorKind::NotFsh,
                   "no RefPack header"},
        BrokenCase{"unknown flag bits", bytes({0x12, 0xFB, 0, 0, 0, 0xFC}), ErrorKind::NotFsh,
                   "no RefPack header"}));

TEST(RefpackLimits, ACallerCanLowerTheDeclaredSizeLimit) {
  const QByteArray stream = literalRefpack(QByteArray(300, 'z'));
  EXPECT_TRUE(fsh::refpackDecompress(stream, 300));
  const auto refused = fsh::refpackDecompress(stream, 299);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().kind, ErrorKind::TooLarge);
}

TEST(RefpackPeek, ProducesOnlyTheFirstBytes) {
  const QByteArray text = "SHPI and a long tail that is never produced";
  const auto start = fsh::refpackPeek(literalRefpack(text), 4);
  ASSERT_TRUE(start);
  EXPECT_EQ(*start, "SHPI");
  // A stream broken after its start still shows its start.
  QByteArray cut = literalRefpack(text);
  cut.chop(20);
  EXPECT_EQ(*fsh::refpackPeek(cut, 4), "SHPI");
}

struct RoundTripCase {
  const char* name;
  QByteArray input;
  double largestRatio;  // compressed size / input size
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class RefpackRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RefpackRoundTrip, DecompressesToTheInputAndShrinksWhatRepeats) {
  const RoundTripCase& c = GetParam();
  const auto packed = fsh::refpackCompress(c.input);
  ASSERT_TRUE(packed);
  const auto unpacked = fsh::refpackDecompress(*packed);
  ASSERT_TRUE(unpacked) << unpacked.error().message.toStdString();
  EXPECT_TRUE(unpacked->bytes == c.input);
  EXPECT_EQ(unpacked->consumed, packed->size());
  if (!c.input.isEmpty()) {
    EXPECT_LE(double(packed->size()), c.largestRatio * double(c.input.size()) + 9)
        << packed->size();
  }
}

QByteArray pictureBytes() {
  const QImage picture = smoothPicture(QSize(128, 128));
  return QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RefpackRoundTrip,
    ::testing::Values(
        RoundTripCase{"empty", QByteArray(), 0}, RoundTripCase{"one byte", "x", 0},
        RoundTripCase{"three bytes", "xyz", 0},
        RoundTripCase{"zeros", QByteArray(1 << 20, '\0'), 0.01},
        // Random bytes cannot shrink: literal runs cost 1 byte in 112.
        RoundTripCase{"random", randomBytes(65536, 1), 1.01},
        RoundTripCase{"text", QByteArray("the quick brown fox jumps over ").repeated(500), 0.05},
        RoundTripCase{"repeats 100 KiB back", randomBytes(102400, 2).repeated(2), 0.52},
        RoundTripCase{"repeats 10 KiB back", randomBytes(10240, 3).repeated(4), 0.27},
        RoundTripCase{"a smooth picture", pictureBytes(), 0.9}));

TEST(RefpackCompress, OutputsOf16MiBAndMoreUseFourByteSizes) {
  const QByteArray input = QByteArray("0123456789abcdef").repeated((16 << 20) / 16 + 1);
  const auto packed = fsh::refpackCompress(input);
  ASSERT_TRUE(packed);
  EXPECT_EQ(uchar(packed->at(0)), 0x90);
  const auto unpacked = fsh::refpackDecompress(*packed);
  ASSERT_TRUE(unpacked);
  EXPECT_TRUE(unpacked->bytes == input);
}

TEST(RefpackCompress, RefusesInputsAboveTheLimit) {
  const QByteArray input(fsh::Layout::MaxFileSize + 1, '\0');
  const auto packed = fsh::refpackCompress(input);
  ASSERT_FALSE(packed);
  EXPECT_EQ(packed.error().kind, ErrorKind::TooLarge);
}

}  // namespace
