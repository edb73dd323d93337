#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <cstdint>

#include "support/archive_fixture.h"

// Archives whose portrait is a real FSH image, for the commands that decode it.

// The archive the fixture builds, with image as member 4 (the fixture's
// imageLength and member 4's size in the directory follow the image).
QByteArray archiveWithPortrait(ArchiveFixture fixture, const QByteArray& image);

// An FSH image of one bitmap of smoothPicture(size) in the code, with mipmaps.
QByteArray samplePortrait(uint8_t code, QSize size = {32, 32}, int mipmaps = 0);
