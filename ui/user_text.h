#pragma once

#include <QString>

namespace ui {

// User text (a file name, a path, a typed identifier) as a message shows it,
// so that it cannot disguise the message around it:
// - between FIRST STRONG ISOLATE (U+2068) and POP DIRECTIONAL ISOLATE
//   (U+2069), so that its direction, right to left or left to right, does not
//   reorder the words around it;
// - with controls, line and paragraph separators and the characters that
//   start or end embeddings, overrides and isolates (U+202A to U+202E, U+2066
//   to U+2069) shown as U+FFFD: they could end the isolate early, or the line;
// - at most MaxUserTextLength characters, shortened in the middle with an
//   ellipsis (U+2026), so that a long path keeps its start and its file name.
inline constexpr int MaxUserTextLength = 80;
QString isolatedUserText(const QString& text);

}  // namespace ui
