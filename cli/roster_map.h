#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "common/expected.h"

namespace cli {

// One line of a roster map: save SOURCE as TARGET under IDENTIFIER.
struct RosterLine {
  int lineNumber = 0;  // where it starts in the map file, from 1
  QString source;
  QString target;
  QString identifier;
  bool operator==(const RosterLine&) const = default;
};

// Reads a roster map: CSV in UTF-8 with the fields SOURCE,TARGET,ID on each
// line. A field in double quotes may hold commas, line breaks and doubled
// quotes ("") and is taken exactly; an unquoted field loses the spaces around
// it. Blank lines are skipped, and a first line whose first field is "source"
// (in any case) is a header. Every line must have three fields and name both
// files, and no line may hold a NUL byte; otherwise the answer is one message
// per faulty line ("line 3: ...").
Expected<QList<RosterLine>, QStringList> parseRosterMap(const QByteArray& text);

}  // namespace cli
