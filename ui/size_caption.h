#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

namespace ui {

// The archive's size as the size label shows it: bytes / 1000, up to 15
// significant digits, no trailing zeros, no thousands separator, the digits
// 0-9 whatever the locale writes numbers with, the locale's decimal
// separator, then " KB". 51234 bytes give "51.234 KB".
QString sizeCaption(int32_t archiveSize, const QLocale& locale = QLocale());

}  // namespace ui
