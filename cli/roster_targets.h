#pragma once

#include <QList>
#include <QStringList>

#include "cli/roster_map.h"

namespace cli {

// Lines of a roster map that write a file an earlier line writes too, however
// each names it: the later would silently replace what the earlier saved. One
// message per such line ("line 3: writes ./b.big, as line 1 does (b.big)").
// A line may read what an earlier one wrote; only two writes are a fault.
QStringList targetsWrittenTwice(const QList<RosterLine>& lines);

}  // namespace cli
