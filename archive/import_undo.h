#pragma once

#include <QByteArray>
#include <QString>
#include <deque>
#include <functional>

#include "archive/archive_error.h"
#include "common/expected.h"

namespace archive {

// Imports as they can be taken back. An import may move the portrait and change
// the archive's length and size fields, so what it changed is kept as the
// archive's whole content before and after it: a few hundred kilobytes, a few
// dozen megabytes for the largest portraits.
struct ArchiveChange {
  QString archivePath;
  QByteArray before;
  QByteArray after;
};

// Runs write, which changes the archive at archivePath, and keeps what it
// changed. When the archive cannot be read first, or write fails, that error
// is the answer and there is nothing to take back.
Expected<ArchiveChange, ArchiveError> changeArchive(
    const QString& archivePath, const std::function<Expected<void, ArchiveError>()>& write);

// Why a change was not taken back: the archive no longer holds what the change
// wrote (another program changed it since), or reading or writing it failed.
struct UndoError {
  bool changedSince = false;
  ArchiveError failure;  // when not changedSince
};

// Puts the content from before the change back, through the same safe write as
// every other command, if the archive still holds exactly what the change
// wrote. A refusal writes nothing.
Expected<void, UndoError> undoChange(const ArchiveChange& change);

// The changes made to one archive, the latest last. The oldest are forgotten
// when they take more memory than MemoryBudget; the latest is always kept.
class ImportHistory {
 public:
  static constexpr qsizetype MemoryBudget = qsizetype{256} << 20;

  // A change to another archive than the one the history holds starts afresh.
  void record(ArchiveChange change);
  void clear() { m_changes.clear(); }
  // Whether there is a change of the archive at archivePath to take back.
  bool canUndo(const QString& archivePath) const;
  // Takes the latest change back, which then leaves the history; after a
  // refusal or failure it stays. With nothing to take back, does nothing.
  Expected<void, UndoError> undo();
  // The archive the history is about; empty when it holds nothing.
  QString archivePath() const;
  qsizetype size() const { return qsizetype(m_changes.size()); }

 private:
  std::deque<ArchiveChange> m_changes;
};

}  // namespace archive
