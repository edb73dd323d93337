#include "cli/roster_import_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <vector>

#include "cli/batch_run.h"
#include "cli/console.h"
#include "cli/file_failure.h"
#include "cli/file_keys.h"
#include "cli/file_writes.h"
#include "cli/portrait_input.h"
#include "cli/portrait_loader.h"
#include "cli/printable_text.h"
#include "portrait/service.h"

namespace cli {

namespace {

// Each archive once, however often or by whatever names it is given.
QStringList distinctArchives(const ImportRequest& request) {
  QStringList archives;
  FileKeys keys;
  QSet<QString> seen;
  for (const QString& path : request.archives) {
    const QString fileKey = keys.of(path);
    if (seen.contains(fileKey)) continue;
    seen.insert(fileKey);
    archives << path;
  }
  return archives;
}

// The pairs, after what is skipped (a note) and what is refused (a failure).
std::vector<portrait::RosterImportJob> pairsToImport(const ImportRequest& request,
                                                     const portrait::Service& service,
                                                     Console& console) {
  const portrait::RosterFolderMatch found =
      service.matchPictureFolder(*request.folder, distinctArchives(request), request.matchBy);
  for (const auto& refused : found.refused)
    console.failure(archiveFailure(refused.archivePath, refused.error));
  const auto& archives = found.archives;
  const portrait::RosterMatch& match = found.match;
  const QString shownFolder = printableText(*request.folder);
  for (const qsizetype i : match.withoutFile)
    console.note(
        QCoreApplication::translate("cli", "%1: skipped: no picture or FSH image in %2 is named %3")
            .arg(printableText(archives[i].path), shownFolder, printableText(archives[i].key)));
  for (const auto& clash : match.clashes) {
    QStringList names;
    for (const QString& name : clash.fileNames) names << printableText(found.filePath(name));
    console.failure(
        {archives[clash.archive].path,
         QCoreApplication::translate("cli", "left untouched: %1 files are named for it: %2")
             .arg(names.size())
             .arg(names.join(QCoreApplication::translate("cli", ", ")))});
  }
  for (const QString& name : match.filesWithoutArchive)
    console.note(
        QCoreApplication::translate("cli", "%1: not imported: no archive given is named for it")
            .arg(printableText(found.filePath(name))));
  std::vector<portrait::RosterImportJob> pairs;
  for (const auto& pair : match.pairs)
    pairs.push_back({archives[pair.archive].path, found.filePath(pair.fileName)});
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
  const auto pairs = pairsToImport(request, **service, console);
  const portrait::ImportChoice choice{request.fit, request.code, request.mipmapCount};

  // A roster is saved as a batch, synced together. Its archives are prepared
  // a few at a time, each on a core of its own: enough to keep every core
  // busy, few enough that a signal ends the batch soon.
  FileWrites writes(writeMode(dryRun, true), console);
  const size_t chunk = size_t(std::max(1, QThread::idealThreadCount())) * 2;
  console.beginBatch(qsizetype(pairs.size()));
  for (size_t first = 0; first < pairs.size() && !Interruption::requested(); first += chunk) {
    const std::vector<portrait::RosterImportJob> jobs(
        pairs.begin() + qsizetype(first),
        pairs.begin() + qsizetype(std::min(pairs.size(), first + chunk)));
    auto prepared =
        (*service)->prepareRosterImports(jobs, choice, writes.making(jobs.front().archivePath));
    for (auto& done : prepared) {
      addPreparedImport(done, **service, writes, console);
      console.fileDone();
    }
  }
  if (!Interruption::requested()) writes.finish();
  console.endBatch();
  return console.status();
}

}  // namespace cli
