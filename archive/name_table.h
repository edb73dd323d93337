#pragma once

#include <cstdint>

#include "archive/archive_layout.h"

class ArchiveReader;

// The file offset of the last identifier copy in member 3's name table,
// E - 10 where E = member offset + L.
int32_t LastIdentifierCopy(ArchiveReader& reader, const ArchiveFixedPart& fixedPart);
