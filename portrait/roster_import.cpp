#include "portrait/roster_import.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "archive/archive_inspection.h"
#include "archive/portrait_image.h"
#include "fileio/file_reader.h"
#include "fsh/image_file_kind.h"
#include "portrait/input_file.h"
#include "portrait/parallel_map.h"
#include "portrait/service.h"

namespace portrait {

RosterFolderMatch matchPictureFolder(const QString& folder, const QStringList& archivePaths,
                                     MatchBy by) {
  RosterFolderMatch result;
  result.folder = folder;
  for (const QString& path : archivePaths) {
    if (by == MatchBy::Stem) {
      result.archives << RosterFolderMatch::Archive{path, rosterStem(path)};
      continue;
    }
    const auto info = archive::inspectArchive(path);
    if (!info) {
      result.refused << RosterFolderMatch::Refusal{path, info.error()};
      continue;
    }
    result.archives << RosterFolderMatch::Archive{path, QString::fromLatin1(info->identifier)};
  }
  QSet<QString> suffixes{QStringLiteral("fsh")};
  for (const QByteArray& format : pictureFormats()) suffixes.insert(QString::fromLatin1(format));
  QStringList keys;
  for (const auto& archive : result.archives) keys << archive.key;
  // Named pipes, devices and broken links count too: a file named for an
  // archive that cannot be read is reported as such, not as missing.
  result.match =
      matchRoster(QDir(folder).entryList(QDir::Files | QDir::System, QDir::Name), keys, suffixes);
  return result;
}

namespace {

bool hasFshName(const QString& path) {
  return QFileInfo(path).suffix().compare(QLatin1String("fsh"), Qt::CaseInsensitive) == 0;
}

}  // namespace

// A damaged file named as an FSH image is one, so that Import's checks say
// what is wrong with it, unless it is a picture after all.
RosterInput importInputOf(const QByteArray& start, const QString& path) {
  switch (fsh::fileKindOf(start)) {
    case fsh::FileKind::Image:
      return RosterInput::FshImage;
    case fsh::FileKind::CompressedImage:
      return RosterInput::CompressedImage;
    case fsh::FileKind::Other:
      break;
  }
  if (hasFshName(path) && inputKindOf(start, path) != InputKind::Picture)
    return RosterInput::FshImage;
  return RosterInput::Picture;
}

namespace {

using Outcome = PreparedRosterImport;

Outcome failed(Outcome outcome, const QString& file, Error error) {
  outcome.file = Unexpected(RosterFailure{file, std::move(error)});
  return outcome;
}

// The new archive, or Load's or Import's refusal of the archive.
Outcome made(Outcome outcome, Expected<archive::NewFile, archive::ArchiveError> file) {
  if (!file) {
    const QString archivePath = outcome.job.archivePath;
    return failed(std::move(outcome), archivePath, Error::archive(file.error()));
  }
  outcome.file = std::move(*file);
  return outcome;
}

Outcome prepareOne(const RosterImportJob& job, const ImportChoice& choice, archive::Making how) {
  Outcome outcome{job, RosterInput::Picture, std::nullopt, Unexpected(RosterFailure{})};
  const auto file = fileio::FileReader::open(job.inputPath);
  if (!file) return failed(std::move(outcome), job.inputPath, Error::archive(file.error()));
  const auto start = file->readAt(0, std::min(file->length(), fsh::FileKindProbeSize));
  if (!start) return failed(std::move(outcome), job.inputPath, Error::archive(start.error()));
  // Told before the archive is checked: a caller refuses picture options for
  // an FSH image whatever the archive holds.
  outcome.input = importInputOf(*start, job.inputPath);
  // Only into an archive Load would take.
  if (const auto info = archive::inspectArchive(job.archivePath); !info)
    return failed(std::move(outcome), job.archivePath, Error::archive(info.error()));

  switch (outcome.input) {
    case RosterInput::FshImage:
      return made(std::move(outcome),
                  archive::makeImportPortrait(job.archivePath, job.inputPath, how));
    case RosterInput::CompressedImage: {
      // Stored unpacked: the archive's portrait carries its own length, which
      // only the unpacked image has.
      if (auto length = fsh::checkCompressedFileLength(file->length()); !length)
        return failed(std::move(outcome), job.inputPath, Error::codec(length.error()));
      const auto bytes = file->readAt(0, file->length());
      if (!bytes) return failed(std::move(outcome), job.inputPath, Error::archive(bytes.error()));
      const auto unpacked = fsh::unpackImageFile(*bytes);
      if (!unpacked)
        return failed(std::move(outcome), job.inputPath, Error::codec(unpacked.error()));
      auto prepared = archive::makeImportPortraitBytes(job.archivePath, *unpacked, how);
      // The image's own faults are the compressed file's.
      if (!prepared && prepared.error().kind == archive::ArchiveError::Kind::NotAnImage)
        return failed(std::move(outcome), job.inputPath, Error::archive(prepared.error()));
      return made(std::move(outcome), std::move(prepared));
    }
    case RosterInput::Picture:
      break;
  }
  const auto portrait = importPictureFile(job.archivePath, job.inputPath, choice);
  if (!portrait) {
    // A fault of the picture is the picture file's; any other, the archive's.
    const bool pictures = portrait.error().source == Error::Source::Picture;
    return failed(std::move(outcome), pictures ? job.inputPath : job.archivePath, portrait.error());
  }
  outcome.after = portrait->after;
  // The image is made here from the archive's own portrait: a refusal is the archive's.
  return made(std::move(outcome),
              archive::makeImportPortraitBytes(job.archivePath, portrait->image, how));
}

}  // namespace

std::vector<PreparedRosterImport> prepareRosterImports(const std::vector<RosterImportJob>& jobs,
                                                       const ImportChoice& choice,
                                                       archive::Making how) {
  return mapOnAllCores(
      jobs, [&choice, how](const RosterImportJob& job) { return prepareOne(job, choice, how); });
}

}  // namespace portrait
