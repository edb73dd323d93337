#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "support/file_snapshot.h"

// A private folder for one fuzzing process, on a RAM disk where there is one.
class FuzzFolder {
 public:
  FuzzFolder();
  ~FuzzFolder();
  QString path(const QString& name) const;
  QString write(const QString& name, const QByteArray& bytes) const;
  QString makeFolder(const QString& name) const;
  // Empties the folder: each input starts from nothing.
  void clear() const;
  // Every entry, in sub-folders too, with its state; a folder has none.
  // Hidden files count, so a temporary file left behind shows.
  FileTree snapshot() const { return snapshotTree(m_root); }

 private:
  QString m_root;
};

// Aborts with a message: a broken invariant is a finding.
[[noreturn]] void fuzzFailure(const char* what);
#define FUZZ_CHECK(condition)                  \
  do {                                         \
    if (!(condition)) fuzzFailure(#condition); \
  } while (0)
