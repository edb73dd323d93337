#pragma once

#include <QRect>
#include <QString>

#include "common/expected.h"
#include "portrait/picture_import.h"
#include "portrait/portrait_error.h"

namespace portrait {
class Service;
}

namespace cli {

class Console;
class FileWrites;

// One input on its way into one archive's portrait, told by its content as the
// window's Import tells it: an FSH image goes in as it is, with Import's checks,
// a RefPack-compressed one unpacked; a picture is made into the portrait.
struct PortraitInput {
  QString archive;
  QString input;
  QRect crop;  // of a picture, in its pixels; empty: the whole picture
};

enum class InputOutcome {
  Added,       // handed to writes, which reports how it went
  Picture,     // a picture: the caller makes it into the portrait
  Failed,      // reported on the console; the archive is left as it was
  UsageError,  // reported: picture changes asked for an FSH image
};

// Load's checks on the archive, then an FSH image goes to writes. With
// pictureChangesAsked, an FSH image is a usage error: it cannot take them.
InputOutcome addPortraitInput(const PortraitInput& input, bool pictureChangesAsked,
                              FileWrites& writes, Console& console);

// The service's portrait made from the input's picture goes to writes, or its
// failure is reported. False when the command line is wrong for the picture
// (a crop outside it), which is reported as a usage error.
bool addImportedPicture(const PortraitInput& input,
                        const Expected<portrait::ImportedPortrait, portrait::Error>& portrait,
                        const portrait::Service& service, FileWrites& writes, Console& console);

}  // namespace cli
