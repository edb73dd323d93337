#pragma once

#include <QString>

namespace cli {

// Text from a file name or a file's bytes as it can safely go to a terminal:
// control characters, which could move the cursor or change the terminal's
// settings, are shown as \xNN.
QString printableText(const QString& text);

}  // namespace cli
