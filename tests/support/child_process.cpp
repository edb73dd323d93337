#include "support/child_process.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

QByteArray runInChild(const std::function<QByteArray()>& body) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "<no pipe>";
  const pid_t child = ::fork();
  if (child < 0) return "<no child>";
  if (child == 0) {
    ::close(pipeEnds[0]);
    const QByteArray report = body();
    const ssize_t written = ::write(pipeEnds[1], report.constData(), report.size());
    ::_exit(written == report.size() ? 0 : 1);
  }
  ::close(pipeEnds[1]);
  QByteArray report;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    report.append(buffer, n);
  }
  ::close(pipeEnds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status))
    return report + "<child killed by signal " + QByteArray::number(WTERMSIG(status)) + ">";
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return report + "<child exited with " + QByteArray::number(WEXITSTATUS(status)) + ">";
  return report;
}

bool becomeNobody() {
  if (::geteuid() != 0) return false;
  const gid_t group = NobodyId;
  return ::setgroups(1, &group) == 0 && ::setgid(NobodyId) == 0 && ::setuid(NobodyId) == 0 &&
         ::geteuid() == NobodyId;
}
