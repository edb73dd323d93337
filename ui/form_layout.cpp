#include "ui/form_layout.h"

#include "ui/form_region.h"

namespace FormLayout {

const std::vector<ControlSpec>& Controls() {
  using K = ControlKind;
  static const std::vector<ControlSpec> controls{
      {"playerpkg", K::Label, "PLAYER PKG", {24, 72, 89, 17}, 9, {"Tahoma", 9.75, true}},
      {"pkgtxt", K::TextBox, "", {120, 72, 97, 25}, 5, {"Verdana", 12, true}},
      {"Label1", K::Label, "JERSEY NAME", {24, 144, 89, 17}, 12, {"Tahoma", 9.75, true}},
      {"jrsytxt", K::TextBox, "", {120, 144, 97, 25}, 11, {"Verdana", 12, true}},
      {"Filesize", K::Label, "File Size:", {24, 200, 57, 17}, 8, {"Tahoma", 8.25, true}},
      {"Showsize", K::Label, "", {120, 200, 97, 17}, 7, {"Tahoma", 8.25, false}},
      {"Load", K::CommandButton, "Load", {264, 40, 97, 25}, 4, {"Verdana", 9.75, false}},
      {"Save", K::CommandButton, "Save", {264, 72, 97, 25}, 3, {"Verdana", 9.75, false}},
      {"Import", K::CommandButton, " Import Fsh", {264, 104, 97, 25}, 2, {"Verdana", 9.75, false}},
      {"Export", K::CommandButton, "Export Fsh", {264, 136, 97, 25}, 1, {"Verdana", 9.75, false}},
      {"About", K::CommandButton, "About", {264, 168, 97, 25}, 10, {"Verdana", 9.75, false}},
      {"Minimized", K::HotSpot, "", {344, 8, 17, 17}, 0, {}},
      {"Exit", K::HotSpot, "", {360, 0, 17, 25}, 6, {}},
  };
  return controls;
}

QRect PixelGeometry(const QRect& design, int twipsPerPixelX, int twipsPerPixelY) {
  auto x = [&](int value) {
    return RoundToEven(double(value) * DesignTwipsPerPixel / twipsPerPixelX);
  };
  auto y = [&](int value) {
    return RoundToEven(double(value) * DesignTwipsPerPixel / twipsPerPixelY);
  };
  return QRect(x(design.left()), y(design.top()), x(design.width()), y(design.height()));
}

QStringList FontFamilies(const QString& family) {
  if (family == QLatin1String("Verdana"))
    return {"Verdana", "DejaVu Sans", "Bitstream Vera Sans", "Liberation Sans", "Sans Serif"};
  return {family, "DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans", "Sans Serif"};
}

QFont MakeFont(const FontSpec& design) {
  QFont font;
  font.setFamilies(FontFamilies(design.Family));
  font.setPointSizeF(design.PointSize);
  font.setBold(design.Bold);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

}  // namespace FormLayout
