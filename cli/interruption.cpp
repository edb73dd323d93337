#include "cli/interruption.h"

#include <signal.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t arrived = 0;

void remember(int signal) { arrived = signal; }

// A closed pipe too: a reader that went away (| head) must not kill the
// program between preparing a file and committing or removing it.
constexpr int Watched[] = {SIGINT, SIGHUP, SIGTERM, SIGPIPE};

}  // namespace

namespace Interruption {

void watch() {
  struct sigaction action {};
  action.sa_handler = remember;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // system calls go on; the batch stops at the next file
  for (const int signal : Watched) sigaction(signal, &action, nullptr);
}

bool requested() { return arrived != 0; }

bool byClosedOutput() { return arrived == SIGPIPE; }

void endAsRequested() {
  const int signal = arrived;
  if (signal == 0) return;
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  ::raise(signal);
}

}  // namespace Interruption
