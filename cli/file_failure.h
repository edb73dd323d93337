#pragma once

#include <QString>

#include "archive/archive_error.h"
#include "fsh/fsh_error.h"
#include "portrait/portrait_error.h"

namespace cli {

// Why the command line could not do what it was asked for one file: the file
// the failure concerns, as the user named it, and the reason in the words the
// command line uses for it.
struct FileFailure {
  QString file;
  QString reason;
  bool operator==(const FileFailure&) const = default;
};

// A refusal or failure of the archive layer, for the file it names, or for
// otherwise (the archive the operation worked on) when it names none.
FileFailure archiveFailure(const QString& otherwise, const archive::ArchiveError& error);
// A fault of the portrait image, named as the part of file it lies in.
FileFailure portraitFailure(const QString& file, const fsh::Error& error);
// A failure of the portrait service: a picture's for picture, the archive's
// portrait's for archive.
FileFailure pictureFailure(const QString& archive, const QString& picture,
                           const portrait::Error& error);

}  // namespace cli
