#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

#include "archive/archive_error.h"
#include "archive/new_file.h"
#include "common/expected.h"
#include "fileio/memory_file.h"
#include "fileio/regular_file.h"

namespace archive {

// New files, prepared aside and then committed, for the layers above, which
// do not reach into the file layer's machinery themselves.

// Commits many prepared files with one sync of each file system they lie on
// (see fileio::commitTogether); one result per file, in their order.
std::vector<Expected<void, ArchiveError>> commitFiles(std::vector<PreparedFile>& files);

// How many prepared files a batch holds at most before it commits them: each
// holds a descriptor or two, and a group stays well inside the limit on open files.
size_t largestCommitGroup();

// Makes the bytes the whole content of the file at path, safely (prepared and
// committed at once).
Expected<void, ArchiveError> writeFile(const QString& path, QByteArrayView bytes);

// The room a dry run's files would take, summed by file system.
using SpaceBudget = fileio::SpaceBudget;

// Planned content held in memory, read through a path like a file.
using MemoryFile = fileio::MemoryFile;
Expected<MemoryFile, ArchiveError> memoryFile(const PlannedFile& file);

// Which file a name is, following links: two names of one file have the same
// identity. Nothing where there is no such file.
using FileIdentity = fileio::FileIdentity;
std::optional<FileIdentity> fileIdentity(const QString& path);

// Whether two names are one file (a hard or symbolic link, "a/../b"); false
// when either does not exist.
bool isSameFile(const QString& a, const QString& b);

}  // namespace archive
