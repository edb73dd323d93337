#include "archive/import_undo.h"

#include "archive/prepared_file.h"
#include "fileio/file_reader.h"

namespace archive {

namespace {

Expected<QByteArray, ArchiveError> readWhole(const QString& path) {
  const auto file = fileio::FileReader::open(path);
  if (!file) return Unexpected(ArchiveError(file.error()));
  auto bytes = file->readAt(0, file->length());
  if (!bytes) return Unexpected(ArchiveError(bytes.error()));
  return std::move(*bytes);
}

qsizetype memoryOf(const ArchiveChange& change) {
  return change.before.size() + change.after.size();
}

}  // namespace

Expected<ArchiveChange, ArchiveError> changeArchive(
    const QString& archivePath, const std::function<Expected<void, ArchiveError>()>& write) {
  auto before = readWhole(archivePath);
  if (!before) return Unexpected(std::move(before).error());
  if (auto written = write(); !written) return Unexpected(std::move(written).error());
  auto after = readWhole(archivePath);
  if (!after) return Unexpected(std::move(after).error());
  return ArchiveChange{archivePath, std::move(*before), std::move(*after)};
}

Expected<void, UndoError> undoChange(const ArchiveChange& change) {
  const auto now = readWhole(change.archivePath);
  if (!now) return Unexpected(UndoError{false, now.error()});
  if (*now != change.after) return Unexpected(UndoError{true, {}});
  if (auto written = writeFile(change.archivePath, change.before); !written)
    return Unexpected(UndoError{false, written.error()});
  return {};
}

void ImportHistory::record(ArchiveChange change) {
  if (!m_changes.empty() && m_changes.back().archivePath != change.archivePath) clear();
  m_changes.push_back(std::move(change));
  qsizetype memory = 0;
  for (const ArchiveChange& kept : m_changes) memory += memoryOf(kept);
  while (m_changes.size() > 1 && memory > MemoryBudget) {
    memory -= memoryOf(m_changes.front());
    m_changes.pop_front();
  }
}

bool ImportHistory::canUndo(const QString& archivePath) const {
  return !m_changes.empty() && m_changes.back().archivePath == archivePath;
}

Expected<void, UndoError> ImportHistory::undo() {
  if (m_changes.empty()) return {};
  if (auto undone = undoChange(m_changes.back()); !undone) return undone;
  m_changes.pop_back();
  return {};
}

QString ImportHistory::archivePath() const {
  return m_changes.empty() ? QString() : m_changes.back().archivePath;
}

}  // namespace archive
