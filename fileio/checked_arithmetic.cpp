#include "fileio/checked_arithmetic.h"

namespace fileio {

Expected<int32_t, FileError> checkedSum(int32_t a, int32_t b) {
  int32_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return Unexpected(FileError::overflow());
  return sum;
}

Expected<int32_t, FileError> checkedDifference(int32_t a, int32_t b) {
  int32_t difference = 0;
  if (__builtin_sub_overflow(a, b, &difference)) return Unexpected(FileError::overflow());
  return difference;
}

}  // namespace fileio
