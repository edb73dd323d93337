#pragma once

#include <QColor>
#include <QRect>

namespace ui {

// What the skin picture shows and where: the painter in tools/ draws from it,
// and the controls of the main window sit on these elements.
namespace SkinLayout {

inline constexpr int Width = 391;
inline constexpr int Height = 240;
inline constexpr int IconSize = 64;

inline const QColor DarkBlue{51, 61, 125};
inline const QColor Green{187, 228, 98};
inline const QColor LightGrey{176, 176, 178};
inline const QColor White{255, 255, 255};

// Inclusive pixel bounds, as the picture is drawn: left, top, right, bottom.
constexpr QRect element(int left, int top, int right, int bottom) {
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

inline constexpr int TitleBandBottom = 30;  // rows 0..30 across the width
inline constexpr QRect MinimiseGlyph = element(344, 11, 359, 25);
inline constexpr QRect CloseGlyph = element(362, 8, 377, 22);
inline constexpr QRect PkgPanel = element(16, 59, 224, 107);
inline constexpr QRect PkgTab = element(8, 51, 92, 114);
inline constexpr QRect JerseyPanel = element(16, 131, 224, 179);
inline constexpr QRect JerseyTab = element(8, 123, 92, 186);
inline constexpr QRect SizePanel = element(15, 193, 224, 228);
inline constexpr QRect ButtonPanel = element(247, 34, 376, 228);
inline constexpr QRect ButtonTab = element(235, 154, 272, 236);
inline constexpr QRect CreditLine = element(47, 231, 191, 238);

// Where the title band's lower edge rises to make room for the glyphs.
inline constexpr int GlyphAreaLeft = 338;
inline constexpr int FrameWidth = 2;
inline constexpr int PanelBorder = 2;

}  // namespace SkinLayout

}  // namespace ui
