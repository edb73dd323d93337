// RefPack over arbitrary bytes: decompression never reads outside the input and
// produces exactly the declared size or an error; a peek shows the same start;
// compressing what came out, or the input itself, decompresses back to it.
#include <cstddef>
#include <cstdint>

#include "fsh/refpack.h"
#include "fuzz_files.h"

namespace {

void checkRoundTrip(const QByteArray& bytes) {
  const auto packed = fsh::refpackCompress(bytes);
  FUZZ_CHECK(packed);
  const auto unpacked = fsh::refpackDecompress(*packed);
  FUZZ_CHECK(unpacked);
  FUZZ_CHECK(unpacked->bytes == bytes);
  FUZZ_CHECK(unpacked->consumed == packed->size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView input(data, static_cast<qsizetype>(size));
  const auto header = fsh::findRefpackHeader(input);
  const auto result = fsh::refpackDecompress(input);
  if (result) {
    FUZZ_CHECK(header);
    FUZZ_CHECK(result->bytes.size() == header->declaredSize);
    FUZZ_CHECK(result->consumed >= header->dataStart && result->consumed <= input.size());
    const auto start = fsh::refpackPeek(input, 4);
    FUZZ_CHECK(start && *start == result->bytes.left(4));
    // Larger outputs only slow the search down: 256 KiB already reaches every distance.
    if (result->bytes.size() <= (256 << 10)) checkRoundTrip(result->bytes);
  } else {
    FUZZ_CHECK(!result.error().message.isEmpty());
  }
  checkRoundTrip(input.toByteArray());
  return 0;
}
