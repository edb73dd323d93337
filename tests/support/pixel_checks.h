#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QSize>

// Whether both pictures have the same size and the same ARGB value in every
// pixel; the first differing pixel otherwise.
::testing::AssertionResult samePixels(const QImage& expected, const QImage& actual);

// The picture a widget shows at a whole-number scale from `origin`: one pixel
// for each square of scale x scale pixels, or transparent black where the
// square is not of one colour.
QImage shownPixels(const QImage& grabbed, QPoint origin, QSize pictureSize, int scale);
