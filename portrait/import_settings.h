#pragma once

#include <cstdint>

// How a picture becomes the portrait, in words every front end shares. No Qt
// Gui here: the command line names these before it loads any picture support.
namespace portrait {

enum class FitMode {
  Fill,     // scale to cover the whole target and cut the overhang equally on both sides
  Fit,      // scale to lie inside the target, centred on transparent margins
  Stretch,  // scale each side to the target's, ignoring the aspect ratio
};

// A picture fitted to the portrait's size, then stored in a pixel format with
// a number of mipmap levels.
struct ImportSettings {
  FitMode fitMode = FitMode::Fill;
  uint8_t code = 0;  // a bitmap code the codec writes
  int mipmapCount = 0;
  bool operator==(const ImportSettings&) const = default;
};

}  // namespace portrait
