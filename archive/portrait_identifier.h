#pragma once

#include <QByteArray>
#include <QString>

#include "archive/archive_error.h"
#include "archive/archive_layout.h"
#include "common/expected.h"

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

// Checks typed text as an identifier: 7 characters as a reader counts them (an
// accent typed as a combining mark belongs to its letter, a character outside
// the basic plane is one character), each of which must fit in one Latin-1
// byte once composed. IdentifierLength or IdentifierNotLatin1 otherwise.
Expected<PortraitIdentifier, ArchiveError> validateIdentifier(const QString& text);
