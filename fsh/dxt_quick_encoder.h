#pragma once

#include <QtGlobal>
#include <cstdint>

namespace fsh {

// Encodes one row of DXT1/3/5 blocks with stb_dxt's high-quality mode, about 25
// times faster than libsquish's cluster fit and a few tenths of a dB behind it:
// good for a preview. `rgba` holds `rows` (1 to 4) rows of `width` pixels as R,
// G, B, A bytes; `blocks` receives ceil(width / 4) blocks.
void encodeDxtRowQuick(uint8_t type, const uchar* rgba, int width, int rows, uchar* blocks);

}  // namespace fsh
