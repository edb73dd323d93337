#pragma once

#include <cstdint>

#include "common/expected.h"
#include "fileio/file_error.h"

namespace fileio {

// File positions are signed 32-bit values in the archive; a sum or difference
// of two of them that does not fit is an Overflow failure, never a wrapped
// position.
Expected<int32_t, FileError> checkedSum(int32_t a, int32_t b);
Expected<int32_t, FileError> checkedDifference(int32_t a, int32_t b);

}  // namespace fileio
