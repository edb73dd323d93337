#include "ui/user_text.h"

namespace ui {

namespace {

constexpr QChar FirstStrongIsolate(0x2068);
constexpr QChar PopDirectionalIsolate(0x2069);
constexpr QChar Ellipsis(0x2026);

bool mayNotShow(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Up to count characters from the start or the end, never half of a
// surrogate pair.
QString leftPart(const QString& text, qsizetype count) {
  if (count > 0 && text[count - 1].isHighSurrogate()) --count;
  return text.left(count);
}
QString rightPart(const QString& text, qsizetype count) {
  if (count > 0 && text[text.size() - count].isLowSurrogate()) --count;
  return text.right(count);
}

}  // namespace

QString isolatedUserText(const QString& text) {
  QString shown = text;
  if (shown.size() > MaxUserTextLength) {
    const qsizetype kept = MaxUserTextLength - 1;
    shown = leftPart(text, kept / 2) + Ellipsis + rightPart(text, kept - kept / 2);
  }
  for (QChar& c : shown)
    if (mayNotShow(c.unicode())) c = QChar::ReplacementCharacter;
  return FirstStrongIsolate + shown + PopDirectionalIsolate;
}

}  // namespace ui
