#include <gtest/gtest.h>

#include <climits>

#include "fileio/checked_arithmetic.h"

namespace {

TEST(CheckedArithmetic, SumsAndDifferencesThatFitAreExact) {
  EXPECT_EQ(*fileio::checkedSum(INT32_MAX, 0), INT32_MAX);
  EXPECT_EQ(*fileio::checkedSum(INT32_MIN, INT32_MAX), -1);
  EXPECT_EQ(*fileio::checkedSum(-12, 12), 0);
  EXPECT_EQ(*fileio::checkedDifference(INT32_MIN + 10, 10), INT32_MIN);
  EXPECT_EQ(*fileio::checkedDifference(-1, INT32_MAX), INT32_MIN);
}

TEST(CheckedArithmetic, OverflowIsAFailureWithItsNumber) {
  for (const auto& result :
       {fileio::checkedSum(INT32_MAX, 1), fileio::checkedSum(INT32_MIN, -1),
        fileio::checkedDifference(INT32_MIN, 10), fileio::checkedDifference(INT32_MAX, -1)}) {
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), fileio::FileError::overflow());
    EXPECT_EQ(result.error().number, 6);
    EXPECT_EQ(result.error().detail, "Overflow");
  }
}

}  // namespace
