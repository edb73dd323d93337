#pragma once

#include <QImage>
#include <optional>

#include "common/expected.h"
#include "portrait/portrait_error.h"

class QMimeData;

namespace portrait {

// The picture the clipboard (or a drag) carries, held to the rules a picture
// file is held to: one of more than MaxPicturePixels is refused, before it is
// decoded where it comes as a picture file's bytes (as from another program).
// Nothing when the data carries no picture at all.
std::optional<Expected<QImage, Error>> pictureInMimeData(const QMimeData& data);

}  // namespace portrait
