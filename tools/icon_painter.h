#pragma once

class QPainter;

// The program icon: a basketball held in two hands, drawn in a 64 x 64 design grid.
namespace ProgramIcon {

inline constexpr int GridSize = 64;

enum class Background {
  Square,       // dark blue to the edges: the window icon, shown on the window's own frame
  RoundedTile,  // a dark blue tile with rounded corners on transparency: the launcher icons
};

// Draws the icon into the square (0, 0) to (GridSize, GridSize) of the painter's coordinates;
// scale the painter for other sizes. Nothing is clipped by the painter, so a vector device
// that cannot clip (the SVG generator) shows the same picture as a raster one.
void paint(QPainter& painter, Background background);

}  // namespace ProgramIcon
