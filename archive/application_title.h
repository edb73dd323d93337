#pragma once

#include <QString>

inline QString ProductName() { return QStringLiteral("Courtside Portraits Editor"); }

// The product name with its version: the caption of error reports and part of
// the About window's caption.
inline QString ApplicationTitle() { return ProductName() + QStringLiteral(" v1.1"); }
