#include "cli/info_command.h"

#include <optional>

#include "cli/archive_summary.h"
#include "cli/console.h"
#include "cli/interruption.h"
#include "cli/json_listing.h"

namespace cli {

ExitStatus runInfo(const InfoRequest& request, Console& console) {
  std::optional<JsonListing> listing;
  if (request.json) listing.emplace(console);
  console.beginBatch(request.archives.size());
  for (const QString& path : request.archives) {
    if (Interruption::requested()) break;
    const auto summary = summariseArchive(path);
    if (!summary) {
      console.failure(summary.error());
      // In the listing too, so that a script reads one document.
      if (listing) listing->add(refusalJson(path, summary.error()));
    } else if (listing) {
      listing->add(summaryJson(*summary));
    } else {
      console.result(summaryLine(*summary));
    }
    console.fileDone();
  }
  console.endBatch();
  if (listing) listing->end();
  return console.status();
}

}  // namespace cli
