#include <gtest/gtest.h>

#include <climits>

#include "archive/command_error.h"
#include "archive/word_decoding.h"

namespace {

struct HexCase {
  int32_t value;
  const char* hex;
  const char* reversed;
};

void PrintTo(const HexCase& c, std::ostream* os) { *os << c.hex; }

class WordDecoding : public ::testing::TestWithParam<HexCase> {};

TEST_P(WordDecoding, HexTextsAndBackAgain) {
  const HexCase& c = GetParam();
  EXPECT_EQ(LongToHex01(c.value), c.hex);
  EXPECT_EQ(LongToHexRev01(c.value), c.reversed);
  EXPECT_EQ(HexToLong(c.hex), c.value);

  char littleEndian[4];
  for (int i = 0; i < 4; ++i) littleEndian[i] = static_cast<char>(uint32_t(c.value) >> (8 * i));
  EXPECT_EQ(LittleEndianWord(littleEndian), c.value);
  // The same bytes taken in big-endian order.
  EXPECT_EQ(BigEndianWord(littleEndian), HexToLong(c.reversed));
}

INSTANTIATE_TEST_SUITE_P(BoundaryValues, WordDecoding,
                         ::testing::Values(HexCase{0, "00000000", "00000000"},
                                           HexCase{-1, "FFFFFFFF", "FFFFFFFF"},
                                           HexCase{98, "00000062", "62000000"},
                                           HexCase{0x62000000, "62000000", "00000062"},
                                           HexCase{0x12345678, "12345678", "78563412"},
                                           HexCase{INT32_MIN, "80000000", "00000080"},
                                           HexCase{INT32_MAX, "7FFFFFFF", "FFFFFF7F"}));

TEST(WordDecoding, BigEndianFieldsDecodeAsBigEndian) {
  const char offset98[4] = {0, 0, 0, 0x62};
  EXPECT_EQ(BigEndianWord(offset98), 98);
  const char negative[4] = {'\xFF', '\xFF', '\xFF', '\xF4'};
  EXPECT_EQ(BigEndianWord(negative), -12);
}

TEST(WordDecoding, HexToLongTakesShortTextsAndRefusesNonsense) {
  EXPECT_EQ(HexToLong("62"), 98);
  EXPECT_EQ(HexToLong("ff"), 255);
  for (const char* bad : {"", "0x12", "12G4", "+1", " 12", "123456789"}) {
    EXPECT_THROW(HexToLong(bad), CommandError) << bad;
  }
}

TEST(CheckedSums, OverflowIsARuntimeFailure) {
  EXPECT_EQ(CheckedSum(INT32_MAX, 0), INT32_MAX);
  EXPECT_EQ(CheckedSum(INT32_MIN, INT32_MAX), -1);
  EXPECT_EQ(CheckedDifference(INT32_MIN + 10, 10), INT32_MIN);
  try {
    CheckedSum(INT32_MAX, 1);
    FAIL() << "no overflow reported";
  } catch (const CommandError& error) {
    EXPECT_EQ(error.Number(), OverflowErrorNumber);
    EXPECT_EQ(FormatCommandError(error), "ERROR: Overflow. [Error #6]");
  }
  EXPECT_THROW(CheckedSum(INT32_MIN, -1), CommandError);
  EXPECT_THROW(CheckedDifference(INT32_MIN, 10), CommandError);
  EXPECT_THROW(CheckedDifference(INT32_MAX, -1), CommandError);
}

}  // namespace
