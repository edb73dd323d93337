#include "portrait/roster_export.h"

#include <QDir>
#include <QFileInfo>

#include "archive/archive_inspection.h"
#include "archive/portrait_image.h"
#include "portrait/parallel_map.h"
#include "portrait/portrait_picture.h"

namespace portrait {

std::vector<RosterExportJob> rosterExportJobs(const QStringList& archivePaths,
                                              const QString& folder,
                                              std::optional<PictureFormat> picture) {
  QString suffix = QStringLiteral(".fsh");
  if (picture) {
    switch (*picture) {
      case PictureFormat::Png:
        suffix = QStringLiteral(".png");
        break;
      case PictureFormat::Bmp:
        suffix = QStringLiteral(".bmp");
        break;
      case PictureFormat::Jpeg:
        suffix = QStringLiteral(".jpg");
        break;
    }
  }
  std::vector<RosterExportJob> jobs;
  for (const QString& archive : archivePaths)
    jobs.push_back({archive, QDir(folder).filePath(rosterStem(archive) + suffix)});
  return jobs;
}

namespace {

Expected<archive::NewFile, RosterFailure> prepareOne(const RosterExportJob& job,
                                                     std::optional<PictureFormat> picture,
                                                     archive::Making how) {
  const auto fail = [](const QString& file, Error error) {
    return Unexpected(RosterFailure{file, std::move(error)});
  };
  // Only from an archive Load would take.
  if (const auto info = archive::inspectArchive(job.archivePath); !info)
    return fail(job.archivePath, Error::archive(info.error()));
  if (!picture) {
    auto made = archive::makeExportPortrait(job.archivePath, job.targetPath, how);
    if (!made) return fail(job.archivePath, Error::archive(made.error()));
    return std::move(*made);
  }
  const auto file = portraitPictureFile(job.archivePath, job.targetPath, *picture);
  if (!file) {
    const bool target = file.error().source == Error::Source::Picture;
    return fail(target ? job.targetPath : job.archivePath, file.error());
  }
  auto made = archive::makeFile(job.targetPath, file->bytes, how);
  if (!made) return fail(job.targetPath, Error::archive(made.error()));
  return std::move(*made);
}

}  // namespace

std::vector<PreparedRosterExport> prepareRosterExports(const std::vector<RosterExportJob>& jobs,
                                                       std::optional<PictureFormat> picture,
                                                       archive::Making how) {
  return mapOnAllCores(jobs, [picture, how](const RosterExportJob& job) {
    return PreparedRosterExport{job, prepareOne(job, picture, how)};
  });
}

}  // namespace portrait
