#pragma once

#include <cstdint>

#include "archive/archive_error.h"
#include "common/expected.h"

// File positions are signed 32-bit values in the archive; a sum or difference
// of two of them that does not fit is an Overflow failure, never a wrapped
// position.
Expected<int32_t, ArchiveError> checkedSum(int32_t a, int32_t b);
Expected<int32_t, ArchiveError> checkedDifference(int32_t a, int32_t b);
