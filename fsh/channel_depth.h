#pragma once

#include <cstdint>

// Channels narrower than 8 bits: widened by repeating their top bits, so that
// the largest value becomes 255, and narrowed to the nearest value.
namespace fsh {

inline uint32_t widen4(uint32_t v) { return v * 17; }
inline uint32_t widen5(uint32_t v) { return (v << 3) | (v >> 2); }
inline uint32_t widen6(uint32_t v) { return (v << 2) | (v >> 4); }

// The nearest of `maximum + 1` evenly spaced levels to an 8-bit value.
inline uint32_t narrow(uint32_t v, uint32_t maximum) { return (v * maximum + 127) / 255; }

inline uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return a << 24 | r << 16 | g << 8 | b;
}

}  // namespace fsh
