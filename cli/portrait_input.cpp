#include "cli/portrait_input.h"

#include <QCoreApplication>

#include "cli/console.h"
#include "cli/file_failure.h"
#include "cli/file_writes.h"
#include "cli/printable_text.h"
#include "portrait/service.h"

namespace cli {

namespace {

FileFailure importFailure(const portrait::PreparedRosterImport& done) {
  const portrait::RosterFailure& failure = done.file.error();
  if (done.input == portrait::RosterInput::CompressedImage &&
      failure.error.source == portrait::Error::Source::Codec)
    return {failure.file, QCoreApplication::translate("cli", "compressed FSH image: ") +
                              failure.error.codecError.message};
  return pictureFailure(failure.file, failure.file, failure.error);
}

WriteNote importNote(const portrait::PreparedRosterImport& done, const portrait::Service& service) {
  const QString input = printableText(done.job.inputPath);
  QString how;
  switch (done.input) {
    case portrait::RosterInput::FshImage:
      how = QCoreApplication::translate("cli", "the FSH image ") + input;
      break;
    case portrait::RosterInput::CompressedImage:
      how = QCoreApplication::translate("cli", "the compressed FSH image %1, unpacked").arg(input);
      break;
    case portrait::RosterInput::Picture:
      how = QCoreApplication::translate("cli", "the picture %1 as %2")
                .arg(input, done.after ? service.bitmapDetails(*done.after) : QString());
      break;
  }
  return {done.job.archivePath, QCoreApplication::translate("cli", "portrait replaced by ") + how,
          QCoreApplication::translate("cli", "portrait would be replaced by ") + how};
}

}  // namespace

void addPreparedImport(portrait::PreparedRosterImport& done, const portrait::Service& service,
                       FileWrites& writes, Console& console) {
  if (!done.file)
    console.failure(importFailure(done));
  else
    writes.add(std::move(*done.file), done.job.archivePath, importNote(done, service));
}

}  // namespace cli
