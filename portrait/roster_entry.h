#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "archive/archive_error.h"
#include "archive/archive_layout.h"
#include "fsh/describe.h"
#include "portrait/portrait_error.h"

namespace portrait {

// What a roster shows of one archive: whether Load would take it, what it
// holds, and its portrait as a thumbnail. The portrait itself is not kept.
struct RosterEntry {
  std::optional<archive::ArchiveError> refusal;  // why Load would refuse the archive
  archive::ArchiveKind kind = archive::ArchiveKind::PlayerPackage;
  QByteArray identifier;                         // the name table's 7 bytes
  std::optional<fsh::BitmapDescription> bitmap;  // the portrait's main bitmap
  std::optional<Error> portraitProblem;          // why there is no thumbnail
  QImage thumbnail;                              // longer side at most the side asked for

  bool loadable() const { return !refusal.has_value(); }
};

// Reads the archive at path with Load's checks and, for one that passes them,
// its portrait, decoded and scaled to a thumbnail whose longer side is
// thumbnailSide. Safe to call on any thread.
RosterEntry readRosterEntry(const QString& path, int thumbnailSide);

}  // namespace portrait
