#include "cli/set_id_command.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>

#include "archive/archive_inspection.h"
#include "archive/save_archive.h"
#include "cli/batch_run.h"
#include "cli/console.h"
#include "cli/file_writes.h"
#include "cli/printable_text.h"
#include "cli/roster_map.h"
#include "cli/roster_targets.h"

namespace cli {

namespace {

struct Rename {
  QString source;
  QString target;
  QString identifier;
};

QString label(const Rename& rename) {
  return rename.source + QCoreApplication::translate("cli", " -> ") + rename.target;
}

void saveOne(const Rename& rename, FileWrites& writes, Console& console) {
  // A line reads and writes what the lines before it wrote.
  const QString source = writes.settleBefore(rename.source, rename.target);
  const auto info = archive::inspectArchive(source);
  if (!info) {
    console.failure(archiveFailure(rename.source, info.error()));
    return;
  }
  const QString how = QCoreApplication::translate("cli", "from %1 with identifier %2")
                          .arg(printableText(rename.source), printableText(rename.identifier));
  writes.add(archive::makeSaveWithIdentifier(source, rename.target, info->kind, rename.identifier,
                                             writes.making(rename.target)),
             label(rename),
             {rename.target, QCoreApplication::translate("cli", "saved ") + how,
              QCoreApplication::translate("cli", "would be saved ") + how},
             FileWrites::Naming::AlwaysRefusedFile);
}

// The map's lines, or nothing after the reasons why it cannot be used.
std::optional<QList<Rename>> readMap(const QString& mapFile, Console& console) {
  QFile file(mapFile);
  const bool opened = mapFile == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                    : file.open(QIODevice::ReadOnly);
  if (!opened) {
    console.usageError(QCoreApplication::translate("cli", "%1: %2")
                           .arg(printableText(mapFile), file.errorString()));
    return std::nullopt;
  }
  // A roster map is a short text; a device or a huge file would only fill memory.
  constexpr qint64 LargestMap = qint64{16} << 20;
  const QByteArray text = file.read(LargestMap + 1);
  if (text.size() > LargestMap) {
    console.usageError(
        QCoreApplication::translate("cli", "%1: longer than 16 MiB, too long for a roster map")
            .arg(printableText(mapFile)));
    return std::nullopt;
  }
  if (file.error() != QFileDevice::NoError) {
    console.usageError(QCoreApplication::translate("cli", "%1: %2")
                           .arg(printableText(mapFile), file.errorString()));
    return std::nullopt;
  }
  const auto lines = parseRosterMap(text);
  const QStringList faults = lines ? targetsWrittenTwice(*lines) : lines.error();
  if (!faults.isEmpty()) {
    // Enough to see what is wrong; a file that is no map at all has a fault a line.
    constexpr qsizetype ShownFaults = 20;
    for (qsizetype i = 0; i < std::min(faults.size(), ShownFaults); ++i)
      console.usageError(
          QCoreApplication::translate("cli", "%1: %2").arg(printableText(mapFile), faults[i]));
    if (faults.size() > ShownFaults)
      console.usageError(QCoreApplication::translate("cli", "%1: and %2 more faulty lines")
                             .arg(printableText(mapFile))
                             .arg(faults.size() - ShownFaults));
    return std::nullopt;
  }
  QList<Rename> renames;
  for (const RosterLine& line : *lines)
    renames << Rename{line.source, line.target, line.identifier};
  return renames;
}

}  // namespace

ExitStatus runSetId(const SetIdRequest& request, bool dryRun, Console& console) {
  QList<Rename> renames;
  if (request.mapFile) {
    const auto fromMap = readMap(*request.mapFile, console);
    if (!fromMap) return ExitStatus::UsageError;
    renames = *fromMap;
  } else {
    renames << Rename{request.source, request.target, request.identifier};
  }
  // A roster is saved as a batch: its files are synced together, not one by one.
  FileWrites writes(writeMode(dryRun, request.mapFile.has_value()), console);
  QStringList sources;
  for (const Rename& rename : renames) sources << rename.source;
  writes.expectReads(sources);
  return runBatch(renames, writes, console,
                  [&](const Rename& rename) { saveOne(rename, writes, console); });
}

}  // namespace cli
