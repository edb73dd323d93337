#include "cli/import_command.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "archive/archive_inspection.h"
#include "archive/portrait_image.h"
#include "archive/prepared_file.h"
#include "cli/batch_run.h"
#include "cli/console.h"
#include "cli/file_failure.h"
#include "cli/file_writes.h"
#include "cli/portrait_loader.h"
#include "cli/printable_text.h"
#include "fileio/file_reader.h"
#include "fsh/image_file_kind.h"

namespace {

bool hasFshName(const QString& path) {
  return QFileInfo(path).suffix().compare(QLatin1String("fsh"), Qt::CaseInsensitive) == 0;
}

// One import: the request, where its writes go and what they are said to be.
class Import {
 public:
  Import(const ImportRequest& request, bool dryRun, Console& console)
      : m_request(request), m_console(console), m_writes(writeMode(dryRun, false), console) {}

  ExitStatus run();

 private:
  WriteNote note(const QString& how) const;
  void add(Expected<NewFile, ArchiveError> made, const QString& how);
  Making making() { return m_writes.making(m_request.archive); }
  void importImageFile();
  void importCompressedImage(const fileio::FileReader& input);
  // False when the command line turns out wrong for the picture.
  bool importPicture(const portrait::Service& service);

  const ImportRequest& m_request;
  Console& m_console;
  FileWrites m_writes;
};

WriteNote Import::note(const QString& how) const {
  return {m_request.archive, QCoreApplication::translate("cli", "portrait replaced by ") + how,
          QCoreApplication::translate("cli", "portrait would be replaced by ") + how};
}

void Import::add(Expected<NewFile, ArchiveError> made, const QString& how) {
  m_writes.add(std::move(made), m_request.archive, note(how));
}

// With all of Import's checks: a file that is no FSH image is refused by them.
void Import::importImageFile() {
  add(makeImportPortrait(m_request.archive, m_request.input, making()),
      QCoreApplication::translate("cli", "the FSH image ") + printableText(m_request.input));
}

// Stored unpacked, as the window stores it: the archive's portrait carries its
// own length, which only the unpacked image has.
void Import::importCompressedImage(const fileio::FileReader& input) {
  const auto refuse = [this](const fsh::Error& error) {
    m_console.failure(
        {m_request.input,
         QCoreApplication::translate("cli", "compressed FSH image: ") + error.message});
  };
  if (auto length = fsh::checkCompressedFileLength(input.length()); !length)
    return refuse(length.error());
  const auto bytes = input.readAt(0, input.length());
  if (!bytes) return m_console.failure(archiveFailure(m_request.input, bytes.error()));
  const auto unpacked = fsh::unpackImageFile(*bytes);
  if (!unpacked) return refuse(unpacked.error());
  auto prepared = makeImportPortraitBytes(m_request.archive, *unpacked, making());
  // The image's own faults are the compressed file's.
  if (!prepared && prepared.error().kind == ArchiveError::Kind::NotAnImage)
    return m_console.failure(archiveFailure(m_request.input, prepared.error()));
  add(std::move(prepared),
      QCoreApplication::translate("cli", "the compressed FSH image %1, unpacked")
          .arg(printableText(m_request.input)));
}

bool Import::importPicture(const portrait::Service& service) {
  const auto portrait = service.importPictureFile(
      m_request.archive, m_request.input,
      {m_request.fit, m_request.code, m_request.mipmapCount, m_request.crop});
  if (!portrait) {
    const portrait::Error& error = portrait.error();
    if (error.source == portrait::Error::Source::Picture &&
        error.pictureProblem == portrait::Error::PictureProblem::CropOutside) {
      const QRect& crop = m_request.crop;
      m_console.usageError(
          QStringLiteral("--crop %1,%2,%3,%4 is not wholly inside the picture %5, which is %6x%7 "
                         "pixels")
              .arg(crop.x())
              .arg(crop.y())
              .arg(crop.width())
              .arg(crop.height())
              .arg(printableText(m_request.input))
              .arg(error.size.width())
              .arg(error.size.height()));
      return false;
    }
    m_console.failure(pictureFailure(m_request.archive, m_request.input, error));
    return true;
  }
  // The image is made here from the archive's own portrait: a refusal is the archive's.
  m_writes.add(
      makeImportPortraitBytes(m_request.archive, portrait->image, making()), m_request.archive,
      note(QCoreApplication::translate("cli", "the picture %1 as %2")
               .arg(printableText(m_request.input), service.bitmapDetails(portrait->after))));
  return true;
}

ExitStatus Import::run() {
  const auto input = fileio::FileReader::open(m_request.input);
  if (!input) {
    m_console.failure(archiveFailure(m_request.input, input.error()));
    return m_console.status();
  }
  // Told by its content, as the window tells it.
  const auto start = input->readAt(0, std::min(input->length(), fsh::FileKindProbeSize));
  if (!start) {
    m_console.failure(archiveFailure(m_request.input, start.error()));
    return m_console.status();
  }
  const fsh::FileKind kind = fsh::fileKindOf(*start);
  if (kind != fsh::FileKind::Other && m_request.pictureChangesAsked) {
    m_console.usageError(QStringLiteral("--format and --mipmaps other than keep apply to "
                                        "pictures, not to the FSH image %1, which goes in as it is")
                             .arg(printableText(m_request.input)));
    return ExitStatus::UsageError;
  }
  if (kind != fsh::FileKind::Other && !m_request.crop.isEmpty()) {
    m_console.usageError(
        QStringLiteral(
            "--crop applies to pictures, not to the FSH image %1, which goes in as it is")
            .arg(printableText(m_request.input)));
    return ExitStatus::UsageError;
  }
  // The window imports only into an archive it could load.
  if (const auto info = inspectArchive(m_request.archive); !info) {
    m_console.failure(archiveFailure(m_request.archive, info.error()));
    return m_console.status();
  }
  switch (kind) {
    case fsh::FileKind::Image:
      importImageFile();
      break;
    case fsh::FileKind::CompressedImage:
      importCompressedImage(*input);
      break;
    case fsh::FileKind::Other: {
      const auto service = portraitService();
      if (!service) {
        m_console.failure(service.error());
        break;
      }
      // A damaged file named as an FSH image meets Import's checks, which say
      // what is wrong with it; unless it is a picture after all.
      if (hasFshName(m_request.input) &&
          (*service)->inputKindOf(*start, m_request.input) != portrait::InputKind::Picture) {
        importImageFile();
        break;
      }
      if (!importPicture(**service)) return ExitStatus::UsageError;
      break;
    }
  }
  return m_console.status();
}

}  // namespace

ExitStatus runImport(const ImportRequest& request, bool dryRun, Console& console) {
  return Import(request, dryRun, console).run();
}
