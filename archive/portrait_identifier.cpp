#include "archive/portrait_identifier.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

qsizetype visibleCharacters(const QString& text) {
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  qsizetype count = 0;
  while (finder.toNextBoundary() > 0) ++count;
  return count;
}

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
  const QString composed = text.normalized(QString::NormalizationForm_C);
  if (visibleCharacters(composed) != ArchiveLayout::IdentifierLength)
    return Unexpected(ArchiveError::of(ArchiveError::Kind::IdentifierLength));
  const bool singleBytes =
      composed.size() == ArchiveLayout::IdentifierLength &&
      std::all_of(composed.begin(), composed.end(), [](QChar c) { return c.unicode() <= 0xFF; });
  if (!singleBytes) return Unexpected(ArchiveError::of(ArchiveError::Kind::IdentifierNotLatin1));
  return PortraitIdentifier{storedBytes(composed, false), storedBytes(composed, true)};
}
