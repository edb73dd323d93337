#include "cli/thumbnail_command.h"

#include <QCoreApplication>

#include "archive/prepared_file.h"
#include "cli/batch_run.h"
#include "cli/console.h"
#include "cli/file_failure.h"
#include "cli/file_writes.h"
#include "cli/portrait_loader.h"
#include "cli/printable_text.h"

namespace cli {

ExitStatus runThumbnail(const ThumbnailRequest& request, bool dryRun, Console& console) {
  const auto service = portraitService();
  if (!service) {
    console.failure(service.error());
    return console.status();
  }
  const auto picture = (*service)->thumbnailFile(request.input, request.output, request.size);
  if (!picture) {
    // The input is read as an archive or as an image; whichever failed, it is the input's.
    console.failure(pictureFailure(request.input, request.input, picture.error()));
    return console.status();
  }
  const QString how = QCoreApplication::translate("cli", "from %1 as a %2x%3 PNG picture")
                          .arg(printableText(request.input))
                          .arg(picture->size.width())
                          .arg(picture->size.height());
  // Written aside and renamed, as every output: a file manager never sees half a picture.
  FileWrites writes(writeMode(dryRun, false), console);
  writes.add(archive::makeFile(request.output, picture->bytes, writes.making(request.output)),
             request.output,
             {request.output, QCoreApplication::translate("cli", "written ") + how,
              QCoreApplication::translate("cli", "would be written ") + how});
  writes.finish();
  return console.status();
}

}  // namespace cli
