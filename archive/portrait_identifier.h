#pragma once

#include <QByteArray>
#include <QString>

#include "archive/archive_error.h"
#include "archive/archive_layout.h"
#include "common/expected.h"

namespace archive {

// An identifier as the archive stores it: 7 characters, one Latin-1 byte each.
struct PortraitIdentifier {
  QByteArray lowerCase;  // as the name table holds it
  QByteArray upperCase;  // as a player package's directory names hold it

  // The bytes of the four directory names: upper case for a player package,
  // lower case for a jersey.
  const QByteArray& directoryBytes(ArchiveKind kind) const {
    return kind == ArchiveKind::PlayerPackage ? upperCase : lowerCase;
  }
};

// Checks typed text as an identifier: no control character (C0, DEL, C1;
// IdentifierControl names the first), and exactly 7 characters once composed
// to NFC, counted as code points, since each is stored as one byte: a letter
// typed with a combining accent counts once where it composes, a mark that
// composes with nothing counts on its own (IdentifierLength). Each character
// must then fit in one Latin-1 byte (IdentifierNotLatin1).
Expected<PortraitIdentifier, ArchiveError> validateIdentifier(const QString& text);

}  // namespace archive
