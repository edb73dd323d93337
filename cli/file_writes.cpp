#include "cli/file_writes.h"

#include <QCoreApplication>
#include <algorithm>

#include "cli/console.h"
#include "cli/interruption.h"
#include "cli/messages.h"
#include "cli/printable_text.h"
#include "cli/standard_streams.h"

namespace cli {

namespace {

QString noteText(const WriteNote& note, const QString& what, qint64 length) {
  return QCoreApplication::translate("cli", "%1: %2 (%3 bytes)")
      .arg(printableText(note.file), what)
      .arg(length);
}

}  // namespace

FileWrites::FileWrites(Mode mode, Console& console)
    : m_mode(mode), m_console(console), m_groupSize(archive::largestCommitGroup()) {
  // From here on files are prepared aside: a signal must let them be finished or removed.
  Interruption::deferEnd();
}

FileWrites::~FileWrites() = default;

archive::Making FileWrites::making(const QString& target) {
  if (m_mode != Mode::DryRun) return archive::Making::Prepare;
  return m_expectedReads.contains(m_keys.of(target)) ? archive::Making::PlanKeepingContent
                                                     : archive::Making::Plan;
}

void FileWrites::add(Expected<archive::NewFile, archive::ArchiveError> made,
                     const QString& refusedFile, WriteNote note, Naming naming) {
  const auto refuse = [&](const archive::ArchiveError& error) {
    m_console.failure(naming == Naming::AlwaysRefusedFile
                          ? FileFailure{refusedFile, describe(error)}
                          : archiveFailure(refusedFile, error));
  };
  if (!made) return refuse(made.error());
  // Under `>> log.txt`, a new file renamed over log.txt would lose its lines.
  if (const auto stream = standardStreamAt(archive::pathOf(*made))) {
    m_console.failure(
        {naming == Naming::AlwaysRefusedFile ? refusedFile : archive::pathOf(*made),
         QCoreApplication::translate("cli", "is this program's %1; it is not written over")
             .arg(*stream)});
    return;
  }
  if (auto* planned = std::get_if<archive::PlannedFile>(&*made))
    return plan(*planned, note, refuse);
  auto& prepared = std::get<archive::PreparedFile>(*made);
  if (m_mode == Mode::OneAtATime) {
    if (auto committed = prepared.commit(); !committed)
      m_console.failure(archiveFailure(note.file, committed.error()));
    else
      m_console.note(noteText(note, note.done, prepared.length()));
    return;
  }
  m_pendingFiles.insert(m_keys.of(prepared.path()), m_pending.size());
  m_pending.push_back(std::move(prepared));
  m_notes.push_back(std::move(note));
  if (m_pending.size() >= m_groupSize) finish();
}

void FileWrites::plan(const archive::PlannedFile& planned, const WriteNote& note,
                      const std::function<void(const archive::ArchiveError&)>& refuse) {
  // Files that each fit may not fit together.
  if (auto room = m_space.take(planned.space); !room) return refuse(room.error());
  m_console.note(noteText(note, note.wouldBe, planned.length()));
  const QString key = m_keys.of(planned.path());
  if (m_expectedReads.contains(key)) m_planned.insert(key, planned.content);
}

void FileWrites::expectReads(const QStringList& paths) {
  for (const QString& path : paths) m_expectedReads.insert(m_keys.of(path));
}

QString FileWrites::settleBefore(const QString& source, const QString& target) {
  if (m_mode == Mode::DryRun) {
    m_reading.reset();
    const auto planned = m_planned.constFind(m_keys.of(source));
    if (planned == m_planned.cend()) return source;
    // The planned content under a name that reads it.
    auto memory = archive::memoryFile({{source}, planned->size(), *planned});
    if (!memory) return source;
    m_reading = std::move(*memory);
    return m_reading->path();
  }
  if (m_pendingFiles.isEmpty()) return source;
  if (m_pendingFiles.contains(m_keys.of(source)) || m_pendingFiles.contains(m_keys.of(target)))
    finish();
  return source;
}

void FileWrites::finish() {
  m_reading.reset();
  m_planned.clear();
  if (m_pending.empty()) return;
  const auto results = archive::commitFiles(m_pending);
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

}  // namespace cli
