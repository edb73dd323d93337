#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <ostream>

// What a command that must leave a file alone could change about it: its
// bytes, and whether it was written again or replaced (inode, modification time).
struct FileState {
  QByteArray bytes;
  ino_t inode = 0;
  qint64 modifiedNs = 0;
  bool operator==(const FileState&) const = default;
};

// A file's state; empty when there is no file at path.
std::optional<FileState> snapshotFile(const QString& path);

// Every file and folder below a root, hidden ones too, by path relative to the
// root; a folder has no state. A temporary file left behind shows here.
using FileTree = QMap<QString, std::optional<FileState>>;
FileTree snapshotTree(const QString& root);

// When a file or folder last changed, in nanoseconds: a folder's changes with
// every name made or removed in it, even one removed at once. 0 where there is none.
qint64 modifiedNs(const QString& path);

// The names directly in a folder, hidden ones too, sorted.
QStringList entryNames(const QString& folder);

void PrintTo(const FileState& state, std::ostream* os);
void PrintTo(const FileTree& tree, std::ostream* os);
