#pragma once

#include "portrait/roster_import.h"

namespace portrait {
class Service;
}

namespace cli {

class Console;
class FileWrites;

// One archive's import, prepared by the service, presented: its failure on the
// console, or its new content handed to writes with a note of what replaced
// the portrait. The single import and the roster import both end here.
void addPreparedImport(portrait::PreparedRosterImport& done, const portrait::Service& service,
                       FileWrites& writes, Console& console);

}  // namespace cli
