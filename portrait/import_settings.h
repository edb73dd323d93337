#pragma once

#include <QRect>
#include <cstdint>

// How a picture becomes the portrait, in words every front end shares. No Qt
// Gui here: the command line names these before it loads any picture support.
namespace portrait {

enum class FitMode {
  Fill,     // scale to cover the whole target and cut the overhang equally on both sides
  Fit,      // scale to lie inside the target, centred on transparent margins
  Stretch,  // scale each side to the target's, ignoring the aspect ratio
};

// A picture, or the crop of it, fitted to the portrait's size, then stored in
// a pixel format with a number of mipmap levels.
struct ImportSettings {
  FitMode fitMode = FitMode::Fill;
  uint8_t code = 0;  // a bitmap code the codec writes
  int mipmapCount = 0;
  // The part of the picture that is fitted, in the picture's own pixels; an
  // empty rectangle stands for the whole picture. Whole pixels, as a command
  // line gives them: a cut never falls between two pixels.
  QRect crop = {};
  bool operator==(const ImportSettings&) const = default;
};

}  // namespace portrait
