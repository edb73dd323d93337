#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// A private folder for one fuzzing process, on a RAM disk where there is one.
class FuzzFolder {
 public:
  FuzzFolder();
  ~FuzzFolder();
  QString Path(const QString& name) const;
  QString Write(const QString& name, const QByteArray& bytes) const;
  QString MakeFolder(const QString& name) const;
  // Empties the folder: each input starts from nothing.
  void Clear() const;
  // Every file now in the folder, sorted.
  QStringList Entries() const;
  // Every entry, in sub-folders too, with its content; a folder has none.
  // Hidden files count, so a temporary file left behind shows.
  QMap<QString, std::optional<QByteArray>> Snapshot() const;

 private:
  QString root_;
};

// Aborts with a message: a broken invariant is a finding.
[[noreturn]] void FuzzFailure(const char* what);
#define FUZZ_CHECK(condition)                  \
  do {                                         \
    if (!(condition)) FuzzFailure(#condition); \
  } while (0)
