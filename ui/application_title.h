#pragma once

#include <QString>

#include "common/version.h"

namespace ui {

inline QString productName() { return QStringLiteral("Courtside Portraits Editor"); }

// The product name with its version: the caption of error reports and part of
// the About window's caption.
inline QString applicationTitle() {
  return productName() + QStringLiteral(" v") + QLatin1String(BuildInfo::Version);
}

}  // namespace ui
