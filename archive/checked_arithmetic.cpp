#include "archive/checked_arithmetic.h"

Expected<int32_t, ArchiveError> checkedSum(int32_t a, int32_t b) {
  int32_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return Unexpected(ArchiveError::overflow());
  return sum;
}

Expected<int32_t, ArchiveError> checkedDifference(int32_t a, int32_t b) {
  int32_t difference = 0;
  if (__builtin_sub_overflow(a, b, &difference)) return Unexpected(ArchiveError::overflow());
  return difference;
}
