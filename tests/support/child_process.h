#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <functional>

// The unprivileged account a test drops to in a child process.
inline constexpr uid_t NobodyId = 65534;

// Runs body in a forked child process and answers the text it returned, or
// what went wrong: "<no pipe>", "<child killed by signal N>", "<child exited
// with N>". The child ends with _exit, so nothing of the test framework runs
// twice. For what would change the whole test process: its file-size limit,
// its user. The body must not use widgets: a forked child of a process with a
// window can hang in Qt's painting thread pool, which it does not inherit.
QByteArray runInChild(const std::function<QByteArray()>& body);

// In a child: drops to the user and group nobody. False where that is not
// possible (the tests are not run as root).
bool becomeNobody();
