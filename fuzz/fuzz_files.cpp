#include "fuzz_files.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

FuzzFolder::FuzzFolder() {
  const QString base = QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
  m_root = base + QStringLiteral("/cpe-fuzz-") + QString::number(getpid());
  QDir().mkpath(m_root);
}

FuzzFolder::~FuzzFolder() { QDir(m_root).removeRecursively(); }

QString FuzzFolder::path(const QString& name) const { return m_root + QLatin1Char('/') + name; }

QString FuzzFolder::write(const QString& name, const QByteArray& bytes) const {
  const QString filePath = path(name);
  QFile file(filePath);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    fuzzFailure("cannot write a fuzz input file");
  return filePath;
}

QString FuzzFolder::makeFolder(const QString& name) const {
  if (!QDir(m_root).mkpath(name)) fuzzFailure("cannot make a folder in the fuzz folder");
  return path(name);
}

void FuzzFolder::clear() const {
  QDir(m_root).removeRecursively();
  if (!QDir().mkpath(m_root)) fuzzFailure("cannot make the fuzz folder");
}

void fuzzFailure(const char* what) {
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}
