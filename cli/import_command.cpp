#include "cli/import_command.h"

#include <QCoreApplication>
#include <optional>

#include "cli/batch_run.h"
#include "cli/console.h"
#include "cli/file_writes.h"
#include "cli/portrait_input.h"
#include "cli/portrait_loader.h"
#include "cli/printable_text.h"
#include "cli/roster_import_command.h"
#include "portrait/service.h"

namespace cli {

namespace {

// Options the input cannot take: an FSH image goes in as it is, so a crop or
// a new format for it is a mistake on the command line, said before anything
// else about the import.
std::optional<QString> usageProblem(const ImportRequest& request,
                                    const portrait::PreparedRosterImport& done) {
  const QString input = printableText(request.input);
  if (done.input != portrait::RosterInput::Picture) {
    if (!request.crop.isEmpty())
      return QCoreApplication::translate(
                 "cli",
                 "--crop applies to pictures, not to the FSH image %1, which goes in as it is")
          .arg(input);
    if (request.pictureChangesAsked)
      return QCoreApplication::translate(
                 "cli",
                 "--format and --mipmaps other than keep apply to "
                 "pictures, not to the FSH image %1, which goes in as it is")
          .arg(input);
    return std::nullopt;
  }
  if (done.file) return std::nullopt;
  const portrait::Error& error = done.file.error().error;
  if (error.source != portrait::Error::Source::Picture ||
      error.pictureProblem != portrait::Error::PictureProblem::CropOutside)
    return std::nullopt;
  const QRect& crop = request.crop;
  return QCoreApplication::translate("cli",
                                     "--crop %1,%2,%3,%4 is not wholly inside the picture %5, "
                                     "which is %6x%7 pixels")
      .arg(crop.x())
      .arg(crop.y())
      .arg(crop.width())
      .arg(crop.height())
      .arg(input)
      .arg(error.size.width())
      .arg(error.size.height());
}

}  // namespace

ExitStatus runImport(const ImportRequest& request, bool dryRun, Console& console) {
  if (request.folder) return runRosterImport(request, dryRun, console);
  const auto service = portraitService();
  if (!service) {
    console.failure(service.error());
    return console.status();
  }
  FileWrites writes(writeMode(dryRun, false), console);
  auto prepared = (*service)->prepareRosterImports(
      {{request.archive, request.input}},
      {request.fit, request.code, request.mipmapCount, request.crop},
      writes.making(request.archive));
  portrait::PreparedRosterImport& done = prepared.front();
  if (const auto problem = usageProblem(request, done)) {
    console.usageError(*problem);
    return ExitStatus::UsageError;
  }
  addPreparedImport(done, **service, writes, console);
  return console.status();
}

}  // namespace cli
