#pragma once

#include <QImage>
#include <QList>
#include <QRgb>

// Palettes for Indexed8 bitmaps. QImage's own conversion to Format_Indexed8 drops
// to a fixed colour cube for pictures with alpha, whatever their colours; these
// keep a picture's own colours when it has 256 or fewer, and otherwise cut the
// colour space (alpha included) where the picture's pixels are.
namespace fsh {

// At most 256 colours: the picture's own colours if it has no more, else the
// means of 256 boxes from a median cut that always splits the box whose colours
// vary most (weighted by how many pixels have them).
QList<QRgb> buildPalette(const QImage& picture);

// The picture (ARGB32) as Format_Indexed8 over the palette: each pixel the
// nearest colour, alpha counted like the other channels.
QImage indexedWithPalette(const QImage& picture, const QList<QRgb>& palette);

}  // namespace fsh
