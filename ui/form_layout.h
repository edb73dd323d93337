#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace ui {

// The main window's fixed layout, at 15 twips per pixel.
namespace FormLayout {

inline constexpr int ClientWidth = 392;
inline constexpr int ClientHeight = 240;
inline constexpr int DesignTwipsPerPixel = 15;

enum class ControlKind { Label, TextBox, CommandButton, HotSpot };

struct FontSpec {
  QString family;  // the design family; fallbacks follow it
  double pointSize = 0;
  bool bold = false;
};

struct ControlSpec {
  QString name;
  ControlKind kind;
  QString caption;
  QRect geometry;  // pixels: left, top, width, height
  int tabIndex;
  FontSpec font;
};

const std::vector<ControlSpec>& controls();

// A design rectangle on a screen with other twips per pixel: left, top, width
// and height each become the nearest pixel count of their twips.
QRect pixelGeometry(const QRect& design, int twipsPerPixelX, int twipsPerPixelY);

// The design family first, then families that look alike where it is missing.
QStringList fontFamilies(const QString& family);
QFont makeFont(const FontSpec& design);

}  // namespace FormLayout

}  // namespace ui
