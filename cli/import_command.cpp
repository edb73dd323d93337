#include "cli/import_command.h"

#include <QFileInfo>

#include "archive/archive_reader.h"
#include "archive/portrait_image.h"
#include "cli/console.h"
#include "cli/file_writes.h"
#include "cli/picture_tools.h"
#include "cli/printable_text.h"
#include "fsh/fsh_file.h"

namespace {

// An input is taken for an FSH image by its name, so that a damaged .fsh file
// meets Import's checks, or by its first bytes.
Expected<bool, FileFailure> isFshInput(const QString& path) {
  if (QFileInfo(path).suffix().compare(QLatin1String("fsh"), Qt::CaseInsensitive) == 0) return true;
  const auto file = ArchiveReader::open(path);
  if (!file) return Unexpected(archiveFailure(path, file.error()));
  const auto start = file->readAt(0, std::min<qint64>(file->length(), 16));
  if (!start) return Unexpected(archiveFailure(path, start.error()));
  return fsh::looksLikeFsh(*start);
}

QString describeBitmap(const fsh::BitmapDescription& bitmap) {
  return QStringLiteral("%1x%2 %3, %4 mipmaps")
      .arg(bitmap.width)
      .arg(bitmap.height)
      .arg(bitmap.formatName)
      .arg(bitmap.mipmapCount);
}

}  // namespace

ExitStatus runImport(const ImportRequest& request, bool dryRun, Console& console) {
  FileWrites writes(dryRun ? FileWrites::Mode::DryRun : FileWrites::Mode::OneAtATime, console);
  const auto note = [&request](const QString& how) {
    return WriteNote{request.archive, QStringLiteral("portrait replaced by ") + how,
                     QStringLiteral("portrait would be replaced by ") + how};
  };
  const auto fsh = isFshInput(request.input);
  if (!fsh) {
    console.failure(fsh.error());
    return console.status();
  }
  if (*fsh) {
    if (request.pictureOptionsGiven) {
      console.usageError(QStringLiteral("--fit, --format and --mipmaps apply to pictures; the FSH "
                                        "image %1 is imported as it is")
                             .arg(printableText(request.input)));
      return ExitStatus::UsageError;
    }
    writes.add(prepareImportPortrait(request.archive, request.input), request.archive,
               note(QStringLiteral("the FSH image ") + printableText(request.input)));
    return console.status();
  }

  const auto tools = pictureTools();
  if (!tools) {
    console.failure(tools.error());
    return console.status();
  }
  const auto portrait = (*tools)->importPicture(request.archive, request.input,
                                                {request.fit, request.code, request.mipmapCount});
  if (!portrait) {
    console.failure(portrait.error());
    return console.status();
  }
  writes.add(prepareImportPortraitBytes(request.archive, portrait->image), request.archive,
             note(QStringLiteral("the picture %1 as %2")
                      .arg(printableText(request.input), describeBitmap(portrait->after))));
  return console.status();
}
