#include "support/file_snapshot.h"

#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

std::optional<FileState> snapshotFile(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return FileState{file.readAll(), info.st_ino,
                   qint64{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec};
}

FileTree snapshotTree(const QString& root) {
  FileTree tree;
  const QDir base(root);
  QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QString name = base.relativeFilePath(path);
    if (it.fileInfo().isDir())
      tree.insert(name, std::nullopt);
    else
      tree.insert(name, snapshotFile(path).value_or(FileState{"<unreadable>", 0, 0}));
  }
  return tree;
}

qint64 modifiedNs(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return 0;
  return qint64{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
}

QStringList entryNames(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

void PrintTo(const FileState& state, std::ostream* os) {
  *os << state.bytes.size() << " bytes, inode " << state.inode << ", modified " << state.modifiedNs;
}

void PrintTo(const FileTree& tree, std::ostream* os) {
  for (auto it = tree.begin(); it != tree.end(); ++it) {
    *os << "\n  " << it.key().toStdString();
    if (it.value()) {
      *os << ": ";
      PrintTo(*it.value(), os);
    }
  }
}
