#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A private folder for one fuzzing process, on a RAM disk where there is one.
class FuzzFolder {
 public:
  FuzzFolder();
  ~FuzzFolder();
  QString Path(const QString& name) const;
  QString Write(const QString& name, const QByteArray& bytes) const;
  // Every file now in the folder, sorted.
  QStringList Entries() const;

 private:
  QString root_;
};

// Aborts with a message: a broken invariant is a finding.
[[noreturn]] void FuzzFailure(const char* what);
#define FUZZ_CHECK(condition)                  \
  do {                                         \
    if (!(condition)) FuzzFailure(#condition); \
  } while (0)
