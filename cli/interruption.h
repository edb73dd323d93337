#pragma once

namespace cli {

// Ctrl-C, a hang-up, a request to terminate or a closed output pipe ends the
// program as the signal asks. Before any file is prepared that happens at once,
// wherever the program waits (a roster map read from a pipe or a terminal).
// Once files are being prepared it ends a batch between two files instead: the
// file being written is finished or given up whole, so that no file is left
// half-written and no temporary file is left behind.
namespace Interruption {

// Catches SIGINT, SIGHUP, SIGTERM and SIGPIPE from now on; each ends the
// program at once until deferEnd().
void watch();
// From now on a signal is only remembered, for the batch to end between two
// files. A system call that waits (a write to a full pipe) is not resumed
// after it, so that the batch sees it.
void deferEnd();

// Whether one of them arrived.
bool requested();
// Whether it was SIGPIPE: the reader of the output went away, as `| head`
// does when it has what it wants; nothing to tell anyone.
bool byClosedOutput();

// Ends the program as the signal that arrived would have, so that the shell
// that started it sees why. Returns when none arrived.
void endAsRequested();

}  // namespace Interruption

}  // namespace cli
