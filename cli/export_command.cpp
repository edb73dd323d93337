#include "cli/export_command.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "archive/file_replacement.h"
#include "archive/portrait_image.h"
#include "cli/console.h"
#include "cli/interruption.h"
#include "cli/picture_tools.h"
#include "cli/printable_text.h"

namespace {

struct ExportJob {
  QString archive;
  QString output;
  std::optional<PictureFormat> picture;  // none: the FSH bytes as they are
};

void exportOne(const ExportJob& job, bool dryRun, Console& console) {
  (void)dryRun;
  if (!job.picture) {
    const auto exported = exportPortrait(job.archive, job.output);
    if (!exported) {
      console.failure(archiveFailure(job.archive, exported.error()));
      return;
    }
    console.note(QStringLiteral("%1: written from %2 as FSH (%3 bytes)")
                     .arg(printableText(job.output), printableText(job.archive))
                     .arg(QFileInfo(job.output).size()));
    return;
  }
  const auto tools = pictureTools();
  if (!tools) {
    console.failure(tools.error());
    return;
  }
  const auto picture = (*tools)->exportPicture(job.archive, *job.picture, job.output);
  if (!picture) {
    console.failure(picture.error());
    return;
  }
  if (const auto written = replaceFileContents(job.output, picture->bytes); !written) {
    console.failure(archiveFailure(job.output, written.error()));
    return;
  }
  console.note(QStringLiteral("%1: written from %2 as a %3x%4 picture (%5 bytes)")
                   .arg(printableText(job.output), printableText(job.archive))
                   .arg(picture->size.width())
                   .arg(picture->size.height())
                   .arg(picture->bytes.size()));
}

// One output per archive in the folder, named after the archive without its
// extension. Two archives of the same name would write the same output: the
// later one is refused rather than overwriting the earlier's.
QList<ExportJob> folderJobs(const ExportRequest& request, Console& console) {
  const QDir folder(*request.folder);
  const bool png = request.folderFormat == ExportFormat::Png;
  QList<ExportJob> jobs;
  QSet<QString> outputs;
  for (const QString& archive : request.archives) {
    const QString name = QFileInfo(archive).completeBaseName() +
                         (png ? QStringLiteral(".png") : QStringLiteral(".fsh"));
    const QString output = folder.filePath(name);
    if (outputs.contains(name)) {
      console.failure({archive, QStringLiteral("another archive of the same name is already "
                                               "exported as %1")
                                    .arg(printableText(output))});
      continue;
    }
    outputs.insert(name);
    jobs << ExportJob{archive, output,
                      png ? std::optional<PictureFormat>(PictureFormat::Png) : std::nullopt};
  }
  return jobs;
}

}  // namespace

ExitStatus runExport(const ExportRequest& request, bool dryRun, Console& console) {
  QList<ExportJob> jobs;
  if (request.folder) {
    if (!QFileInfo(*request.folder).isDir()) {
      console.failure({*request.folder, QStringLiteral("no such folder")});
      return console.status();
    }
    jobs = folderJobs(request, console);
  } else {
    jobs << ExportJob{request.archive, request.output, pictureFormatForPath(request.output)};
  }
  console.beginBatch(jobs.size());
  for (const ExportJob& job : jobs) {
    if (Interruption::requested()) break;
    exportOne(job, dryRun, console);
    console.fileDone();
  }
  console.endBatch();
  return console.status();
}
