#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

#include "archive/archive_error.h"
#include "common/expected.h"
#include "fileio/file_replacement.h"
#include "fileio/regular_file.h"

// New files, prepared aside and then committed, for the layers above, which
// do not reach into the file layer's machinery themselves.

// A new file's content, prepared beside it and not yet committed.
using PreparedFile = fileio::FileReplacement;

// The bytes, prepared as the whole new content of the file at path.
Expected<PreparedFile, ArchiveError> prepareFile(const QString& path, QByteArrayView bytes);

// Commits many prepared files with one sync of each file system they lie on
// (see fileio::commitTogether); one result per file, in their order.
std::vector<Expected<void, ArchiveError>> commitFiles(std::vector<PreparedFile>& files);

// Makes the bytes the whole content of the file at path, safely (prepared and
// committed at once).
Expected<void, ArchiveError> writeFile(const QString& path, QByteArrayView bytes);

// Which file a name is, following links: two names of one file have the same
// identity. Nothing where there is no such file.
using FileIdentity = fileio::FileIdentity;
std::optional<FileIdentity> fileIdentity(const QString& path);

// Whether two names are one file (a hard or symbolic link, "a/../b"); false
// when either does not exist.
bool isSameFile(const QString& a, const QString& b);
