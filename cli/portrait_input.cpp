#include "cli/portrait_input.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "archive/archive_inspection.h"
#include "archive/portrait_image.h"
#include "archive/prepared_file.h"
#include "archive/source_file.h"
#include "cli/console.h"
#include "cli/file_failure.h"
#include "cli/file_writes.h"
#include "cli/portrait_loader.h"
#include "cli/printable_text.h"
#include "fsh/image_file_kind.h"
#include "portrait/service.h"

namespace cli {

namespace {

bool hasFshName(const QString& path) {
  return QFileInfo(path).suffix().compare(QLatin1String("fsh"), Qt::CaseInsensitive) == 0;
}

WriteNote note(const PortraitInput& input, const QString& how) {
  return {input.archive, QCoreApplication::translate("cli", "portrait replaced by ") + how,
          QCoreApplication::translate("cli", "portrait would be replaced by ") + how};
}

// With all of Import's checks: a file that is no FSH image is refused by them.
void addImageFile(const PortraitInput& input, FileWrites& writes) {
  writes.add(archive::makeImportPortrait(input.archive, input.input, writes.making(input.archive)),
             input.archive,
             note(input, QCoreApplication::translate("cli", "the FSH image ") +
                             printableText(input.input)));
}

// Stored unpacked, as the window stores it: the archive's portrait carries its
// own length, which only the unpacked image has.
InputOutcome addCompressedImage(const PortraitInput& input, const archive::SourceFile& file,
                                FileWrites& writes, Console& console) {
  const auto refuse = [&](const fsh::Error& error) {
    console.failure({input.input,
                     QCoreApplication::translate("cli", "compressed FSH image: ") + error.message});
    return InputOutcome::Failed;
  };
  if (auto length = fsh::checkCompressedFileLength(file.length()); !length)
    return refuse(length.error());
  const auto bytes = file.readAll();
  if (!bytes) {
    console.failure(archiveFailure(input.input, bytes.error()));
    return InputOutcome::Failed;
  }
  const auto unpacked = fsh::unpackImageFile(*bytes);
  if (!unpacked) return refuse(unpacked.error());
  auto prepared =
      archive::makeImportPortraitBytes(input.archive, *unpacked, writes.making(input.archive));
  // The image's own faults are the compressed file's.
  if (!prepared && prepared.error().kind == archive::ArchiveError::Kind::NotAnImage) {
    console.failure(archiveFailure(input.input, prepared.error()));
    return InputOutcome::Failed;
  }
  writes.add(std::move(prepared), input.archive,
             note(input, QCoreApplication::translate("cli", "the compressed FSH image %1, unpacked")
                             .arg(printableText(input.input))));
  return InputOutcome::Added;
}

}  // namespace

InputOutcome addPortraitInput(const PortraitInput& input, bool pictureChangesAsked,
                              FileWrites& writes, Console& console) {
  const auto file = archive::SourceFile::open(input.input);
  if (!file) {
    console.failure(archiveFailure(input.input, file.error()));
    return InputOutcome::Failed;
  }
  const auto start = file->readStart(fsh::FileKindProbeSize);
  if (!start) {
    console.failure(archiveFailure(input.input, start.error()));
    return InputOutcome::Failed;
  }
  const fsh::FileKind kind = fsh::fileKindOf(*start);
  if (kind != fsh::FileKind::Other && !input.crop.isEmpty()) {
    console.usageError(
        QCoreApplication::translate(
            "cli", "--crop applies to pictures, not to the FSH image %1, which goes in as it is")
            .arg(printableText(input.input)));
    return InputOutcome::UsageError;
  }
  if (kind != fsh::FileKind::Other && pictureChangesAsked) {
    console.usageError(QCoreApplication::translate(
                           "cli",
                           "--format and --mipmaps other than keep apply to pictures, not to the "
                           "FSH image %1, which goes in as it is")
                           .arg(printableText(input.input)));
    return InputOutcome::UsageError;
  }
  // The window imports only into an archive it could load.
  if (const auto info = archive::inspectArchive(input.archive); !info) {
    console.failure(archiveFailure(input.archive, info.error()));
    return InputOutcome::Failed;
  }
  switch (kind) {
    case fsh::FileKind::Image:
      addImageFile(input, writes);
      return InputOutcome::Added;
    case fsh::FileKind::CompressedImage:
      return addCompressedImage(input, *file, writes, console);
    case fsh::FileKind::Other:
      break;
  }
  if (!hasFshName(input.input)) return InputOutcome::Picture;
  const auto service = portraitService();
  if (!service) {
    console.failure(service.error());
    return InputOutcome::Failed;
  }
  // A damaged file named as an FSH image meets Import's checks, which say
  // what is wrong with it; unless it is a picture after all.
  if ((*service)->inputKindOf(*start, input.input) == portrait::InputKind::Picture)
    return InputOutcome::Picture;
  addImageFile(input, writes);
  return InputOutcome::Added;
}

bool addImportedPicture(const PortraitInput& input,
                        const Expected<portrait::ImportedPortrait, portrait::Error>& portrait,
                        const portrait::Service& service, FileWrites& writes, Console& console) {
  if (!portrait) {
    const portrait::Error& error = portrait.error();
    if (error.source == portrait::Error::Source::Picture &&
        error.pictureProblem == portrait::Error::PictureProblem::CropOutside) {
      const QRect& crop = input.crop;
      console.usageError(
          QCoreApplication::translate("cli",
                                      "--crop %1,%2,%3,%4 is not wholly inside the picture %5, "
                                      "which is %6x%7 pixels")
              .arg(crop.x())
              .arg(crop.y())
              .arg(crop.width())
              .arg(crop.height())
              .arg(printableText(input.input))
              .arg(error.size.width())
              .arg(error.size.height()));
      return false;
    }
    console.failure(pictureFailure(input.archive, input.input, error));
    return true;
  }
  // The image is made here from the archive's own portrait: a refusal is the archive's.
  writes.add(
      archive::makeImportPortraitBytes(input.archive, portrait->image,
                                       writes.making(input.archive)),
      input.archive,
      note(input, QCoreApplication::translate("cli", "the picture %1 as %2")
                      .arg(printableText(input.input), service.bitmapDetails(portrait->after))));
  return true;
}

}  // namespace cli
