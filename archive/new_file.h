#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <variant>
#include <vector>

#include "archive/archive_error.h"
#include "common/expected.h"
#include "fileio/file_replacement.h"
#include "fileio/space_budget.h"

namespace archive {

// A file an operation writes, as the layers above receive it before it is
// written: prepared aside, or only planned for a dry run.

// A new file's content, prepared beside it and not yet committed.
using PreparedFile = fileio::FileReplacement;

// A new file as a dry run plans it: every check a preparation makes is made,
// and nothing is written anywhere.
struct PlannedFile {
  fileio::SpaceNeed space;  // the file, and the room it would take
  qint64 newLength = 0;
  QByteArray content;  // the whole new content, where it was asked for

  const QString& path() const { return space.path; }
  qint64 length() const { return newLength; }
};

// How a new file is made: prepared aside for a commit, or only planned,
// keeping its content in memory (for later files of a dry run to read) or not.
enum class Making { Prepare, Plan, PlanKeepingContent };
using NewFile = std::variant<PreparedFile, PlannedFile>;

const QString& pathOf(const NewFile& file);

// The pieces, made the whole new content of the file at path, as how says.
Expected<NewFile, ArchiveError> makeFile(const QString& path,
                                         const std::vector<fileio::ContentPiece>& pieces,
                                         Making how);
Expected<NewFile, ArchiveError> makeFile(const QString& path, QByteArrayView bytes, Making how);

// Commits a new file that was prepared (Making::Prepare).
Expected<void, ArchiveError> commitMade(Expected<NewFile, ArchiveError> made);

}  // namespace archive
