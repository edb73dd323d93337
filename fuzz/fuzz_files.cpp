#include "fuzz_files.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
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

QStringList FuzzFolder::Entries() const {
  return QDir(root_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

void FuzzFailure(const char* what) {
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}
