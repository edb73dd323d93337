#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

#include "common/expected.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_layout.h"

// RefPack: the LZ77 variant that compresses whole FSH files and single blocks' data.
namespace fsh {

struct RefpackHeader {
  qsizetype start = 0;      // position of the flags byte: 0, or 4 after a size word
  qsizetype dataStart = 0;  // first control code
  qint64 declaredSize = 0;  // uncompressed size the header announces
};

// Finds a RefPack header at the start of the bytes, or after a 4-byte size word.
std::optional<RefpackHeader> findRefpackHeader(QByteArrayView bytes);

struct Decompressed {
  QByteArray bytes;        // exactly the declared size
  qsizetype consumed = 0;  // input bytes read, header included
};

// Decompresses a stream that starts with its header. Refuses a declared size
// above maxSize or above what the stream's length could produce, and every
// literal or match that would read past the input or write past the declared size.
Expected<Decompressed, Error> refpackDecompress(QByteArrayView input,
                                                qsizetype maxSize = Layout::MaxFileSize);

// The first `count` bytes of the output (fewer if the stream declares fewer),
// without producing the rest: enough to recognise what a stream holds.
Expected<QByteArray, Error> refpackPeek(QByteArrayView input, qsizetype count);

// Compresses with greedy hash-chain matching; header flags 0x10 (3-byte size) or
// 0x90 (4-byte size) for outputs of 16 MiB and more.
Expected<QByteArray, Error> refpackCompress(QByteArrayView input);

}  // namespace fsh
