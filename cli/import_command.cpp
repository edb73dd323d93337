#include "cli/import_command.h"

#include <QCoreApplication>
#include <optional>

#include "archive/source_file.h"
#include "cli/batch_run.h"
#include "cli/console.h"
#include "cli/file_writes.h"
#include "cli/portrait_input.h"
#include "cli/portrait_loader.h"
#include "cli/printable_text.h"
#include "cli/roster_import_command.h"
#include "fsh/image_file_kind.h"
#include "portrait/service.h"

namespace cli {

namespace {

// Picture options given for an FSH image, which goes in as it is: a mistake
// on the command line, said before anything is prepared.
std::optional<QString> optionsForAnImage(const ImportRequest& request,
                                         const portrait::Service& service) {
  const auto file = archive::SourceFile::open(request.input);
  if (!file) return std::nullopt;  // the import says why
  const auto start = file->readStart(fsh::FileKindProbeSize);
  if (!start || service.importInputOf(*start, request.input) == portrait::RosterInput::Picture)
    return std::nullopt;
  const QString input = printableText(request.input);
  if (!request.crop.isEmpty())
    return QCoreApplication::translate(
               "cli", "--crop applies to pictures, not to the FSH image %1, which goes in as it is")
        .arg(input);
  if (request.pictureChangesAsked)
    return QCoreApplication::translate("cli",
                                       "--format and --mipmaps other than keep apply to "
                                       "pictures, not to the FSH image %1, which goes in as it is")
        .arg(input);
  return std::nullopt;
}

// A crop not wholly inside the picture is the command line's mistake too.
std::optional<QString> cropOutside(const ImportRequest& request,
                                   const portrait::PreparedRosterImport& done) {
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
      .arg(printableText(request.input))
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
  if (const auto problem = optionsForAnImage(request, **service)) {
    console.usageError(*problem);
    return ExitStatus::UsageError;
  }
  FileWrites writes(writeMode(dryRun, false), console);
  auto prepared = (*service)->prepareRosterImports(
      {{request.archive, request.input}},
      {request.fit, request.code, request.mipmapCount, request.crop},
      writes.making(request.archive));
  portrait::PreparedRosterImport& done = prepared.front();
  if (const auto problem = cropOutside(request, done)) {
    console.usageError(*problem);
    return ExitStatus::UsageError;
  }
  addPreparedImport(done, **service, writes, console);
  return console.status();
}

}  // namespace cli
