#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "archive/archive_error.h"
#include "archive/new_file.h"
#include "common/expected.h"
#include "fsh/describe.h"
#include "portrait/picture_import.h"
#include "portrait/portrait_error.h"
#include "portrait/roster_match.h"

// A folder of pictures put into a roster's archives at once: which file goes
// into which archive, and every archive's new content prepared (or planned)
// with its picture made into the portrait on every core. Both the window and
// the command line run a roster import through these two steps and commit the
// files as one batch.
namespace portrait {

// The files of folder matched to the archives at archivePaths.
struct RosterFolderMatch {
  struct Archive {
    QString path;
    QString key;  // its stem or identifier
  };
  struct Refusal {
    QString archivePath;
    archive::ArchiveError error;
  };
  QString folder;
  QList<Archive> archives;  // those that could be matched; match's indexes are into these
  QList<Refusal> refused;   // by identifier: archives Load refuses, which have none
  RosterMatch match;

  // A file of the folder by its name. Inline: the command line reaches the
  // service's functions only through its table.
  QString filePath(const QString& fileName) const { return QDir(folder).filePath(fileName); }
};

// Matches by stem or identifier the folder's FSH images and pictures (by
// extension: "fsh" and every picture format the service reads) to the archives.
RosterFolderMatch matchPictureFolder(const QString& folder, const QStringList& archivePaths,
                                     MatchBy by);

// One file on its way into one archive's portrait.
struct RosterImportJob {
  QString archivePath;
  QString inputPath;
};

// What an input turned out to be, told by its content as Import tells it.
enum class RosterInput {
  FshImage,         // goes in byte for byte, with Import's checks
  CompressedImage,  // a RefPack-compressed FSH image, goes in unpacked
  Picture,          // made into the portrait as the choice says
};

// What an input file is, from its first bytes (fsh::FileKindProbeSize of them,
// or all of a shorter file) and its name.
RosterInput importInputOf(const QByteArray& start, const QString& path);

// Why one archive of a roster import or export is left untouched: the file the error
// concerns (the archive or the input) and the error.
struct RosterFailure {
  QString file;
  Error error;
};

struct PreparedRosterImport {
  RosterImportJob job;
  RosterInput input = RosterInput::Picture;     // told once the input could be read
  std::optional<fsh::BitmapDescription> after;  // a picture's new bitmap
  Expected<archive::NewFile, RosterFailure> file;
};

// Each job with Load's checks on its archive, then its input told by content
// and made into the archive's new content as how says; the jobs spread over
// the machine's cores, the results in their order. Nothing is committed.
std::vector<PreparedRosterImport> prepareRosterImports(const std::vector<RosterImportJob>& jobs,
                                                       const ImportChoice& choice,
                                                       archive::Making how);

}  // namespace portrait
