#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

// The main window's fixed layout, at 15 twips per pixel.
namespace FormLayout {

inline constexpr int ClientWidth = 392;
inline constexpr int ClientHeight = 240;
inline constexpr int DesignTwipsPerPixel = 15;

enum class ControlKind { Label, TextBox, CommandButton, HotSpot };

struct FontSpec {
  QString Family;  // the design family; fallbacks follow it
  double PointSize = 0;
  bool Bold = false;
};

struct ControlSpec {
  QString Name;
  ControlKind Kind;
  QString Caption;
  QRect Geometry;  // pixels: left, top, width, height
  int TabIndex;
  FontSpec Font;
};

const std::vector<ControlSpec>& Controls();

// A design rectangle on a screen with other twips per pixel: left, top, width
// and height each become the nearest pixel count of their twips.
QRect PixelGeometry(const QRect& design, int twipsPerPixelX, int twipsPerPixelY);

// The design family first, then families that look alike where it is missing.
QStringList FontFamilies(const QString& family);
QFont MakeFont(const FontSpec& font);

}  // namespace FormLayout
