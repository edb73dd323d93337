#pragma once

#include <QByteArray>

#include "common/expected.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"

namespace fsh {

// "block at 0x1A0": the start of every message about a block.
QString blockContext(const Block& block);

struct BlockData {
  QByteArray bytes;  // the data after the header, decompressed if the block is compressed
  // Bytes the data takes in the file: a compressed stream may end before the block does.
  qsizetype storedSize = 0;
};

// A block's data. Uncompressed data is not copied: `bytes` refers to file.bytes.
Expected<BlockData, Error> blockData(const FshFile& file, const Block& block);

// Width and height within 1..4096.
Expected<void, Error> checkBitmapSize(const Block& block);

}  // namespace fsh
