#include "cli/export_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

#include "archive/archive_inspection.h"
#include "archive/portrait_image.h"
#include "archive/prepared_file.h"
#include "cli/batch_run.h"
#include "cli/console.h"
#include "cli/file_failure.h"
#include "cli/file_writes.h"
#include "cli/portrait_loader.h"
#include "cli/printable_text.h"
#include "portrait/picture_names.h"

namespace cli {

namespace {

struct ExportJob {
  QString archive;
  QString output;
  std::optional<portrait::PictureFormat> picture;  // none: the FSH bytes as they are
};

void exportOne(const ExportJob& job, FileWrites& writes, Console& console) {
  // The window exports only from an archive it could load.
  if (const auto info = archive::inspectArchive(job.archive); !info) {
    console.failure(archiveFailure(job.archive, info.error()));
    return;
  }
  const QString from = QCoreApplication::translate("cli", "from ") + printableText(job.archive);
  const auto note = [&job](const QString& how) {
    return WriteNote{job.output, QCoreApplication::translate("cli", "written ") + how,
                     QCoreApplication::translate("cli", "would be written ") + how};
  };
  if (!job.picture) {
    writes.add(archive::makeExportPortrait(job.archive, job.output, writes.making(job.output)),
               job.archive, note(from + QCoreApplication::translate("cli", " as FSH")));
    return;
  }
  const auto service = portraitService();
  if (!service) {
    console.failure(service.error());
    return;
  }
  const auto picture = (*service)->portraitPictureFile(job.archive, job.output, *job.picture);
  if (!picture) {
    console.failure(pictureFailure(job.archive, job.output, picture.error()));
    return;
  }
  writes.add(archive::makeFile(job.output, picture->bytes, writes.making(job.output)), job.output,
             note(from + QCoreApplication::translate("cli", " as a %1x%2 picture")
                             .arg(picture->size.width())
                             .arg(picture->size.height())));
}

// "-": the FSH bytes on standard output, for a pipe; no note goes there with them.
ExitStatus exportToStandardOutput(const QString& archive, bool dryRun, Console& console) {
  if (const auto info = archive::inspectArchive(archive); !info) {
    console.failure(archiveFailure(archive, info.error()));
    return console.status();
  }
  const auto portrait = archive::readPortrait(archive);
  if (!portrait) {
    console.failure(archiveFailure(archive, portrait.error()));
  } else if (dryRun) {
    console.note(QCoreApplication::translate(
                     "cli", "standard output: would be written from %1 as FSH (%2 bytes)")
                     .arg(printableText(archive))
                     .arg(portrait->size()));
  } else {
    console.resultBytes(*portrait);
  }
  return console.status();
}

// One output per archive in the folder, named after the archive without its
// extension. Two archives of the same name would write the same output: the
// later one is refused rather than overwriting the earlier's.
QList<ExportJob> folderJobs(const ExportRequest& request, Console& console) {
  const QDir folder(*request.folder);
  const bool png = request.folderFormat == ExportFormat::Png;
  QList<ExportJob> jobs;
  QSet<QString> outputs;
  // An output that is one of the archives would replace it before its turn.
  for (const QString& archive : request.archives) {
    const QString name = QFileInfo(archive).completeBaseName() +
                         (png ? QStringLiteral(".png") : QStringLiteral(".fsh"));
    const QString output = folder.filePath(name);
    if (std::any_of(
            request.archives.begin(), request.archives.end(),
            [&output](const QString& archive) { return archive::isSameFile(output, archive); })) {
      console.failure({output, QStringLiteral("is one of the archives to export; it is not "
                                              "written over")});
      continue;
    }
    if (outputs.contains(name)) {
      console.failure({archive, QStringLiteral("another archive of the same name is already "
                                               "exported as %1")
                                    .arg(printableText(output))});
      continue;
    }
    outputs.insert(name);
    jobs << ExportJob{
        archive, output,
        png ? std::optional<portrait::PictureFormat>(portrait::PictureFormat::Png) : std::nullopt};
  }
  return jobs;
}

}  // namespace

ExitStatus runExport(const ExportRequest& request, bool dryRun, Console& console) {
  QList<ExportJob> jobs;
  if (request.folder) {
    const QFileInfo folder(*request.folder);
    if (!folder.isDir()) {
      console.failure({*request.folder,
                       folder.exists() ? QCoreApplication::translate("cli", "not a folder")
                                       : QCoreApplication::translate("cli", "no such folder")});
      return console.status();
    }
    jobs = folderJobs(request, console);
  } else {
    if (request.output == QLatin1String("-"))
      return exportToStandardOutput(request.archive, dryRun, console);
    if (portrait::namesOtherPictureFormat(request.output)) {
      console.usageError(
          QStringLiteral("%1: export writes pictures as .png, .bmp, .jpg or .jpeg, and the FSH "
                         "image under any name that is not a picture's, such as .fsh")
              .arg(printableText(request.output)));
      return ExitStatus::UsageError;
    }
    jobs << ExportJob{request.archive, request.output,
                      portrait::pictureFormatForPath(request.output)};
  }
  // A folder of exports is a batch: its files are synced together, not one by one.
  FileWrites writes(writeMode(dryRun, request.folder.has_value()), console);
  return runBatch(jobs, writes, console,
                  [&](const ExportJob& job) { exportOne(job, writes, console); });
}

}  // namespace cli
