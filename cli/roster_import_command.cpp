#include "cli/roster_import_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <vector>

#include "archive/archive_inspection.h"
#include "cli/batch_run.h"
#include "cli/console.h"
#include "cli/file_keys.h"
#include "cli/file_writes.h"
#include "cli/portrait_input.h"
#include "cli/portrait_loader.h"
#include "cli/printable_text.h"
#include "portrait/roster_match.h"
#include "portrait/service.h"

namespace {

struct RosterArchive {
  QString path;
  QString key;  // its stem or identifier
};

// Each archive once, however often or by whatever names it is given, with the
// key files are matched by; an archive Load refuses is reported and left out.
QList<RosterArchive> rosterArchives(const ImportRequest& request, Console& console) {
  QList<RosterArchive> archives;
  FileKeys keys;
  QSet<QString> seen;
  for (const QString& path : request.archives) {
    const QString fileKey = keys.of(path);
    if (seen.contains(fileKey)) continue;
    seen.insert(fileKey);
    if (request.matchBy == portrait::MatchBy::Stem) {
      archives << RosterArchive{path, portrait::rosterStem(path)};
      continue;
    }
    const auto info = inspectArchive(path);
    if (!info) {
      console.failure(archiveFailure(path, info.error()));
      continue;
    }
    archives << RosterArchive{path, QString::fromLatin1(info->identifier)};
  }
  return archives;
}

// The extensions of the files that may go in: FSH images and every picture format.
QSet<QString> candidateSuffixes(const portrait::Service& service) {
  QSet<QString> suffixes{QStringLiteral("fsh")};
  for (const QByteArray& format : service.pictureFormats())
    suffixes.insert(QString::fromLatin1(format));
  return suffixes;
}

// The pairs, after what is skipped (a note) and what is refused (a failure).
QList<PortraitInput> pairsToImport(const ImportRequest& request, const portrait::Service& service,
                                   Console& console) {
  const QList<RosterArchive> archives = rosterArchives(request, console);
  QStringList keys;
  for (const RosterArchive& archive : archives) keys << archive.key;
  const QDir folder(*request.folder);
  const portrait::RosterMatch match = portrait::matchRoster(
      folder.entryList(QDir::Files, QDir::Name), keys, candidateSuffixes(service));

  const QString shownFolder = printableText(*request.folder);
  for (const qsizetype i : match.withoutFile)
    console.note(
        QCoreApplication::translate("cli", "%1: skipped: no picture or FSH image in %2 is named %3")
            .arg(printableText(archives[i].path), shownFolder, printableText(archives[i].key)));
  for (const auto& clash : match.clashes) {
    QStringList names;
    for (const QString& name : clash.fileNames) names << printableText(folder.filePath(name));
    console.failure(
        {archives[clash.archive].path,
         QCoreApplication::translate("cli", "left untouched: %1 files are named for it: %2")
             .arg(names.size())
             .arg(names.join(QCoreApplication::translate("cli", ", ")))});
  }
  for (const QString& name : match.filesWithoutArchive)
    console.note(
        QCoreApplication::translate("cli", "%1: not imported: no archive given is named for it")
            .arg(printableText(folder.filePath(name))));
  QList<PortraitInput> pairs;
  for (const auto& pair : match.pairs)
    pairs << PortraitInput{archives[pair.archive].path, folder.filePath(pair.fileName), {}};
  return pairs;
}

}  // namespace

ExitStatus runRosterImport(const ImportRequest& request, bool dryRun, Console& console) {
  const QFileInfo folder(*request.folder);
  if (!folder.isDir()) {
    console.failure({*request.folder, folder.exists()
                                          ? QCoreApplication::translate("cli", "not a folder")
                                          : QCoreApplication::translate("cli", "no such folder")});
    return console.status();
  }
  const auto service = portraitService();
  if (!service) {
    console.failure(service.error());
    return console.status();
  }
  const QList<PortraitInput> pairs = pairsToImport(request, **service, console);
  const portrait::ImportChoice choice{request.fit, request.code, request.mipmapCount};

  // A roster is saved as a batch, synced together. Its pictures are made into
  // portraits a few at a time, each on a core of its own: enough to keep every
  // core busy, few enough that a signal ends the batch soon.
  FileWrites writes(writeMode(dryRun, true), console);
  const qsizetype chunk = qsizetype{std::max(1, QThread::idealThreadCount())} * 2;
  console.beginBatch(pairs.size());
  for (qsizetype first = 0; first < pairs.size() && !Interruption::requested(); first += chunk) {
    QList<PortraitInput> pictures;
    std::vector<portrait::PictureImportJob> jobs;
    for (qsizetype i = first; i < std::min(pairs.size(), first + chunk); ++i) {
      if (Interruption::requested()) break;
      // The format and mipmaps asked for are the pictures': FSH images go in as they are.
      if (addPortraitInput(pairs[i], false, writes, console) == InputOutcome::Picture) {
        pictures << pairs[i];
        jobs.push_back({pairs[i].archive, pairs[i].input, choice});
      } else {
        console.fileDone();
      }
    }
    const auto portraits = (*service)->importPictureFiles(jobs);
    for (qsizetype i = 0; i < pictures.size(); ++i) {
      addImportedPicture(pictures[i], portraits[size_t(i)], **service, writes, console);
      console.fileDone();
    }
  }
  if (!Interruption::requested()) writes.finish();
  console.endBatch();
  return console.status();
}
