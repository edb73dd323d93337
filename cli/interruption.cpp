#include "cli/interruption.h"

#include <signal.h>
#include <unistd.h>

namespace cli {

namespace {

volatile sig_atomic_t arrived = 0;
volatile sig_atomic_t deferred = 0;

// Both calls are safe in a signal handler: the signal, blocked while its
// handler runs, is delivered with its default action once the handler returns.
void endBy(int signal) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  ::raise(signal);
}

void remember(int signal) {
  arrived = signal;
  if (!deferred) endBy(signal);
}

// A closed pipe too: a reader that went away (| head) must not kill the
// program between preparing a file and committing or removing it.
constexpr int Watched[] = {SIGINT, SIGHUP, SIGTERM, SIGPIPE};

}  // namespace

namespace Interruption {

void watch() {
  struct sigaction action {};
  action.sa_handler = remember;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a call that waits returns, and the program goes on to end.
  action.sa_flags = 0;
  for (const int signal : Watched) sigaction(signal, &action, nullptr);
}

void deferEnd() { deferred = 1; }

bool requested() { return arrived != 0; }

bool byClosedOutput() { return arrived == SIGPIPE; }

void endAsRequested() {
  if (arrived != 0) endBy(arrived);
}

}  // namespace Interruption

}  // namespace cli
