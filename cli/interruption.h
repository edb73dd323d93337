#pragma once

// Ctrl-C, a hang-up, a request to terminate or a closed output pipe ends a batch between two files:
// the file being written is finished or given up whole, so that no file is
// left half-written and no temporary file is left behind.
namespace Interruption {

// Catches SIGINT, SIGHUP, SIGTERM and SIGPIPE from now on.
void watch();

// Whether one of them arrived.
bool requested();
// Whether it was SIGPIPE: the reader of the output went away, as `| head`
// does when it has what it wants; nothing to tell anyone.
bool byClosedOutput();

// Ends the program as the signal that arrived would have, so that the shell
// that started it sees why. Returns when none arrived.
void endAsRequested();

}  // namespace Interruption
