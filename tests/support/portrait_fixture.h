#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <cstdint>

// Pictures and FSH portraits for the window tests and the screenshots.

// A player drawn with QPainter: head, hair, jersey with a number, on a
// transparent background (or a gradient where `background` is set). Smooth
// edges and every level of alpha, as a real portrait has.
QImage paintedPortrait(QSize size, bool background = false);

// An FSH image of one bitmap holding the picture in the code, built by the
// fixture builder. Indexed8 has no mipmaps and a palette the codec chose for
// the picture (its replace function writes it, as the editor's import does).
QByteArray portraitImage(uint8_t code, const QImage& picture, int mipmaps = 0);

// The main bitmap of an FSH image or of an archive's portrait, decoded by the
// codec; null when it cannot be.
QImage decodedImage(const QByteArray& image);
QImage decodedPortrait(const QString& archivePath);
