#include "cli/file_writes.h"

#include <sys/resource.h>

#include <QCoreApplication>
#include <algorithm>

#include "cli/console.h"
#include "cli/interruption.h"
#include "cli/messages.h"
#include "cli/printable_text.h"
#include "cli/standard_streams.h"

namespace {

// Each pending file holds a descriptor or two: a group stays well inside the
// limit on open files.
size_t largestGroup() {
  rlimit limit{};
  rlim_t open = 1024;
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    open = limit.rlim_cur;
  return std::clamp<size_t>((open > 64 ? open - 64 : 1) / 2, 1, 1000);
}

QString noteText(const WriteNote& note, const QString& what, qint64 length) {
  return QCoreApplication::translate("cli", "%1: %2 (%3 bytes)")
      .arg(printableText(note.file), what)
      .arg(length);
}

}  // namespace

FileWrites::FileWrites(Mode mode, Console& console)
    : m_mode(mode), m_console(console), m_groupSize(largestGroup()) {
  // From here on files are prepared aside: a signal must let them be finished or removed.
  Interruption::deferEnd();
}

FileWrites::~FileWrites() = default;

void FileWrites::add(Expected<PreparedFile, ArchiveError> prepared, const QString& refusedFile,
                     WriteNote note, Naming naming) {
  if (!prepared) {
    m_console.failure(naming == Naming::AlwaysRefusedFile
                          ? FileFailure{refusedFile, describe(prepared.error())}
                          : archiveFailure(refusedFile, prepared.error()));
    return;
  }
  // Under `>> log.txt`, a new file renamed over log.txt would lose its lines.
  if (const auto stream = standardStreamAt(prepared->path())) {
    m_console.failure(
        {naming == Naming::AlwaysRefusedFile ? refusedFile : prepared->path(),
         QCoreApplication::translate("cli", "is this program's %1; it is not written over")
             .arg(*stream)});
    return;
  }
  switch (m_mode) {
    case Mode::DryRun:
      m_console.note(noteText(note, note.wouldBe, prepared->length()));
      if (!m_expectedReads.contains(m_keys.of(prepared->path()))) return;
      break;  // kept until finish(), for later files of the batch to read
    case Mode::OneAtATime:
      if (auto committed = prepared->commit(); !committed)
        m_console.failure(archiveFailure(note.file, committed.error()));
      else
        m_console.note(noteText(note, note.done, prepared->length()));
      return;
    case Mode::Together:
      break;
  }
  m_pendingFiles.insert(m_keys.of(prepared->path()), m_pending.size());
  m_pending.push_back(std::move(*prepared));
  m_notes.push_back(std::move(note));
  if (m_pending.size() >= m_groupSize) finish();
}

void FileWrites::expectReads(const QStringList& paths) {
  for (const QString& path : paths) m_expectedReads.insert(m_keys.of(path));
}

QString FileWrites::settleBefore(const QString& source, const QString& target) {
  if (m_pendingFiles.isEmpty()) return source;
  const auto pending = m_pendingFiles.constFind(m_keys.of(source));
  if (m_mode == Mode::DryRun) {
    // The prepared content under a name that reads it, whatever way it was prepared.
    if (pending == m_pendingFiles.cend()) return source;
    return QStringLiteral("/proc/self/fd/%1").arg(m_pending[*pending].preparedHandle());
  }
  if (pending != m_pendingFiles.cend() || m_pendingFiles.contains(m_keys.of(target))) finish();
  return source;
}

void FileWrites::finish() {
  if (m_pending.empty()) return;
  if (m_mode == Mode::DryRun) {
    m_pending.clear();
    m_notes.clear();
    m_pendingFiles.clear();
    return;
  }
  const auto results = commitFiles(m_pending);
  for (size_t i = 0; i < results.size(); ++i) {
    if (!results[i])
      m_console.failure(archiveFailure(m_notes[i].file, results[i].error()));
    else
      m_console.note(noteText(m_notes[i], m_notes[i].done, m_pending[i].length()));
  }
  m_pending.clear();
  m_notes.clear();
  m_pendingFiles.clear();
}
