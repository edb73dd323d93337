#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "archive/new_file.h"
#include "common/expected.h"
#include "portrait/picture_names.h"
#include "portrait/roster_import.h"

namespace portrait {

// One archive's portrait on its way out to a file of its own.
struct RosterExportJob {
  QString archivePath;
  QString targetPath;
};

// Each archive's file in folder, named after it without its extension:
// pl0.big gives pl0.png, or pl0.fsh for the FSH image (no picture format).
std::vector<RosterExportJob> rosterExportJobs(const QStringList& archivePaths,
                                              const QString& folder,
                                              std::optional<PictureFormat> picture);

struct PreparedRosterExport {
  RosterExportJob job;
  Expected<archive::NewFile, RosterFailure> file;
};

// Each job with Load's checks on its archive, its portrait made into the
// picture (or taken as its FSH bytes) and the target's new content prepared
// as how says; the jobs spread over the machine's cores, the results in
// their order. Nothing is committed.
std::vector<PreparedRosterExport> prepareRosterExports(const std::vector<RosterExportJob>& jobs,
                                                       std::optional<PictureFormat> picture,
                                                       archive::Making how);

}  // namespace portrait
