#include "ui/form_layout.h"

#include "ui/form_region.h"

namespace ui {

namespace FormLayout {

const std::vector<ControlSpec>& controls() {
  using K = ControlKind;
  static const std::vector<ControlSpec> specs{
      {"playerPackageLabel", K::Label, "PLAYER PKG", {24, 72, 89, 17}, 9, {"Tahoma", 9.75, true}},
      {"playerPackageEdit", K::TextBox, "", {120, 72, 97, 25}, 5, {"Verdana", 12, true}},
      {"jerseyNameLabel", K::Label, "JERSEY NAME", {24, 144, 89, 17}, 12, {"Tahoma", 9.75, true}},
      {"jerseyNameEdit", K::TextBox, "", {120, 144, 97, 25}, 11, {"Verdana", 12, true}},
      {"fileSizeLabel", K::Label, "File Size:", {24, 200, 57, 17}, 8, {"Tahoma", 8.25, true}},
      {"sizeLabel", K::Label, "", {120, 200, 97, 17}, 7, {"Tahoma", 8.25, false}},
      {"loadButton", K::CommandButton, "Load", {264, 40, 97, 25}, 4, {"Verdana", 9.75, false}},
      {"saveButton", K::CommandButton, "Save", {264, 72, 97, 25}, 3, {"Verdana", 9.75, false}},
      {"importButton",
       K::CommandButton,
       " Import Fsh",
       {264, 104, 97, 25},
       2,
       {"Verdana", 9.75, false}},
      {"exportButton",
       K::CommandButton,
       "Export Fsh",
       {264, 136, 97, 25},
       1,
       {"Verdana", 9.75, false}},
      {"aboutButton", K::CommandButton, "About", {264, 168, 97, 25}, 10, {"Verdana", 9.75, false}},
      {"minimizeSpot", K::HotSpot, "", {344, 8, 17, 17}, 0, {}},
      {"closeSpot", K::HotSpot, "", {360, 0, 17, 25}, 6, {}},
  };
  return specs;
}

QRect pixelGeometry(const QRect& design, int twipsPerPixelX, int twipsPerPixelY) {
  // Design values are small and the twips per pixel a non-zero 16-bit value,
  // so every result fits.
  auto x = [&](int value) {
    return *roundToEven(double(value) * DesignTwipsPerPixel / twipsPerPixelX);
  };
  auto y = [&](int value) {
    return *roundToEven(double(value) * DesignTwipsPerPixel / twipsPerPixelY);
  };
  return QRect(x(design.left()), y(design.top()), x(design.width()), y(design.height()));
}

QStringList fontFamilies(const QString& family) {
  if (family == QLatin1String("Verdana"))
    return {"Verdana", "DejaVu Sans", "Bitstream Vera Sans", "Liberation Sans", "Sans Serif"};
  return {family, "DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans", "Sans Serif"};
}

QFont makeFont(const FontSpec& design) {
  QFont font;
  font.setFamilies(fontFamilies(design.family));
  font.setPointSizeF(design.pointSize);
  font.setBold(design.bold);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

}  // namespace FormLayout

}  // namespace ui
