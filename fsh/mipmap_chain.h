#pragma once

#include <QImage>
#include <QList>

namespace fsh {

// The picture (as ARGB32) and `count` levels below it, each half the size of
// the one before (at least 1x1): every pixel the average of the 2x2 pixels
// above it, weighted by their alpha so that transparent pixels lend no colour.
QList<QImage> mipmapChain(const QImage& picture, int count);

}  // namespace fsh
