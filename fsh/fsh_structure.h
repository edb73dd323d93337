#pragma once

#include <QByteArrayView>
#include <optional>

#include "common/expected.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"

namespace fsh {

// The structure parseFsh finds in an image of `length` bytes, read from
// `start`, its first bytes: header, directory, entries and their blocks, with
// the same checks in the same order. Nothing when it needs bytes beyond start,
// or the image is compressed as a whole; parseFsh then tells. The answer has
// no bytes (FshFile::bytes is empty), so nothing can be decoded from it.
std::optional<Expected<FshFile, Error>> parseFshStructure(QByteArrayView start, qsizetype length);

}  // namespace fsh
