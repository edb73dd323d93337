#include "cli/info_command.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "cli/archive_summary.h"
#include "cli/console.h"
#include "cli/interruption.h"

ExitStatus runInfo(const InfoRequest& request, Console& console) {
  QJsonArray listed;
  console.beginBatch(request.archives.size());
  for (const QString& path : request.archives) {
    if (Interruption::requested()) break;
    const auto summary = summariseArchive(path);
    if (!summary)
      console.failure(summary.error());
    else if (request.json)
      listed.append(summaryJson(*summary));
    else
      console.result(summaryLine(*summary));
    console.fileDone();
  }
  console.endBatch();
  if (request.json) console.resultBytes(QJsonDocument(listed).toJson(QJsonDocument::Indented));
  return console.status();
}
