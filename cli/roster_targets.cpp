#include "cli/roster_targets.h"

#include <QCoreApplication>
#include <QHash>

#include "cli/file_keys.h"

namespace cli {

QStringList targetsWrittenTwice(const QList<RosterLine>& lines) {
  FileKeys keys;
  QHash<QString, const RosterLine*> writers;  // the first line to write each file
  QStringList faults;
  for (const RosterLine& line : lines) {
    const RosterLine*& first = writers[keys.of(line.target)];
    if (!first) {
      first = &line;
      continue;
    }
    QString fault = QCoreApplication::translate("cli", "line %1: writes %2, as line %3 does")
                        .arg(line.lineNumber)
                        .arg(line.target)
                        .arg(first->lineNumber);
    if (first->target != line.target)
      fault += QCoreApplication::translate("cli", " (%1)").arg(first->target);
    faults << fault;
  }
  return faults;
}

}  // namespace cli
