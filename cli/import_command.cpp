#include "cli/import_command.h"

#include <QFileInfo>

#include "archive/archive_reader.h"
#include "archive/portrait_image.h"
#include "cli/console.h"
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
  (void)dryRun;
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
    const auto imported = importPortrait(request.archive, request.input);
    if (!imported) {
      console.failure(archiveFailure(request.archive, imported.error()));
      return console.status();
    }
    console.note(QStringLiteral("%1: portrait replaced by the FSH image %2 (%3 bytes)")
                     .arg(printableText(request.archive), printableText(request.input))
                     .arg(QFileInfo(request.archive).size()));
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
  const auto imported = importPortraitBytes(request.archive, portrait->image);
  if (!imported) {
    console.failure(archiveFailure(request.archive, imported.error()));
    return console.status();
  }
  console.note(QStringLiteral("%1: portrait replaced by the picture %2 as %3 (%4 bytes)")
                   .arg(printableText(request.archive), printableText(request.input),
                        describeBitmap(portrait->after))
                   .arg(QFileInfo(request.archive).size()));
  return console.status();
}
