#include "archive/portrait_identifier.h"

#include <algorithm>

namespace archive {

namespace {

// C0 controls, DEL and C1 controls: none is a character a name can show.
bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// Composing to NFC joins at most 4 code points into one (the longest
// canonical decomposition), so a longer text cannot come to 7 characters; it
// is refused without composing all of it.
constexpr qsizetype LongestComposable = qsizetype{4} * 2 * ArchiveLayout::IdentifierLength;

// Each character becomes one Latin-1 byte. A letter whose other case has no
// Latin-1 form (the upper case of y with diaeresis, of the micro sign) keeps
// its own, so the identifier stays 7 bytes long.
QByteArray storedBytes(const QString& latin1Text, bool upperCase) {
  QByteArray bytes;
  for (const QChar c : latin1Text) {
    const QChar mapped = upperCase ? c.toUpper() : c.toLower();
    bytes.append(static_cast<char>(mapped.unicode() <= 0xFF ? mapped.unicode() : c.unicode()));
  }
  return bytes;
}

}  // namespace

Expected<PortraitIdentifier, ArchiveError> validateIdentifier(const QString& text) {
  // Controls neither compose nor decompose, so the typed text shows them all.
  const auto control =
      std::find_if(text.begin(), text.end(), [](QChar c) { return isControl(c.unicode()); });
  if (control != text.end())
    return Unexpected(
        ArchiveError{ArchiveError::Kind::IdentifierControl, control->unicode(), {}, {}});
  if (text.size() > LongestComposable)
    return Unexpected(ArchiveError::of(ArchiveError::Kind::IdentifierLength));

  const QString composed = text.normalized(QString::NormalizationForm_C);
  qsizetype codePoints = 0;
  for (qsizetype i = 0; i < composed.size(); ++i, ++codePoints)
    if (composed[i].isHighSurrogate() && i + 1 < composed.size() &&
        composed[i + 1].isLowSurrogate())
      ++i;
  if (codePoints != ArchiveLayout::IdentifierLength)
    return Unexpected(ArchiveError::of(ArchiveError::Kind::IdentifierLength));
  const bool singleBytes =
      std::all_of(composed.begin(), composed.end(), [](QChar c) { return c.unicode() <= 0xFF; });
  if (!singleBytes) return Unexpected(ArchiveError::of(ArchiveError::Kind::IdentifierNotLatin1));
  return PortraitIdentifier{storedBytes(composed, false), storedBytes(composed, true)};
}

}  // namespace archive
