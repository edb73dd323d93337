#include "fuzz_files.h"

#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <cstdio>
#include <cstdlib>

FuzzFolder::FuzzFolder() {
  const QString base = QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
  root_ = base + QStringLiteral("/cpe-fuzz-") + QString::number(getpid());
  QDir().mkpath(root_);
}

FuzzFolder::~FuzzFolder() { QDir(root_).removeRecursively(); }

QString FuzzFolder::Path(const QString& name) const { return root_ + QLatin1Char('/') + name; }

QString FuzzFolder::Write(const QString& name, const QByteArray& bytes) const {
  const QString path = Path(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    FuzzFailure("cannot write a fuzz input file");
  return path;
}

QString FuzzFolder::MakeFolder(const QString& name) const {
  if (!QDir(root_).mkpath(name)) FuzzFailure("cannot make a folder in the fuzz folder");
  return Path(name);
}

void FuzzFolder::Clear() const {
  QDir(root_).removeRecursively();
  if (!QDir().mkpath(root_)) FuzzFailure("cannot make the fuzz folder");
}

QMap<QString, std::optional<QByteArray>> FuzzFolder::Snapshot() const {
  QMap<QString, std::optional<QByteArray>> entries;
  const QDir root(root_);
  QDirIterator it(root_, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    if (it.fileInfo().isDir())
      entries.insert(root.relativeFilePath(path), std::nullopt);
    else if (file.open(QIODevice::ReadOnly))
      entries.insert(root.relativeFilePath(path), file.readAll());
    else
      FuzzFailure("cannot read a file in the fuzz folder");
  }
  return entries;
}

QStringList FuzzFolder::Entries() const {
  return QDir(root_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

void FuzzFailure(const char* what) {
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}
