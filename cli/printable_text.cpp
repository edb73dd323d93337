#include "cli/printable_text.h"

#include <algorithm>

namespace cli {

namespace {

bool isControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

}  // namespace

QString printableText(const QString& text) {
  if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return isControl(c.unicode()); }))
    return text;
  QString shown;
  shown.reserve(text.size());
  for (const QChar c : text) {
    if (isControl(c.unicode()))
      shown += QStringLiteral("\\x") +
               QString::number(c.unicode(), 16).toUpper().rightJustified(2, QLatin1Char('0'));
    else
      shown += c;
  }
  return shown;
}

}  // namespace cli
