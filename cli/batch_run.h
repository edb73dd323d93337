#pragma once

#include <QList>

#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/file_writes.h"
#include "cli/interruption.h"

namespace cli {

// How a command's files are written: prepared and thrown away in a dry run,
// synced together in a batch, or each on its own.
inline FileWrites::Mode writeMode(bool dryRun, bool batch) {
  if (dryRun) return FileWrites::Mode::DryRun;
  return batch ? FileWrites::Mode::Together : FileWrites::Mode::OneAtATime;
}

// Does one item after the other, with the progress bar, until all are done or
// an interruption asks to stop between two of them; then commits what is
// pending. An interrupted batch gives up what it had not committed, so that
// each file is either done or untouched.
template <typename Item, typename DoOne>
ExitStatus runBatch(const QList<Item>& items, FileWrites& writes, Console& console, DoOne doOne) {
  console.beginBatch(items.size());
  for (const Item& item : items) {
    if (Interruption::requested()) break;
    doOne(item);
    console.fileDone();
  }
  if (!Interruption::requested()) writes.finish();
  console.endBatch();
  return console.status();
}

}  // namespace cli
