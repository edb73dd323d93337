#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <memory>

#include "portrait/roster_entry.h"

namespace portrait {

// Reads a roster's archives on a pool of threads, one archive at a time on
// each, and hands each entry to the thread the reader lives on. The archives
// asked for first (the tiles on screen) are read before the rest.
class RosterReader : public QObject {
  Q_OBJECT

 public:
  explicit RosterReader(int thumbnailSide, QObject* parent = nullptr);
  // Forgets what is queued and waits for the archives being read.
  ~RosterReader() override;

  // Queues the archives after those already queued; one already queued stays
  // where it is.
  void read(const QStringList& paths);
  // Moves those of the archives still queued ahead of everything else; one
  // being read or read already is not read again.
  void readFirst(const QStringList& paths);
  // Forgets what is queued; archives being read are still handed over.
  void clear();
  // The threads reading at most; the machine's cores unless set.
  void setThreadCount(int count);

 signals:
  void entryRead(const QString& path, const portrait::RosterEntry& entry);

 private:
  struct Queue;
  void startReaders();

  int m_thumbnailSide;
  std::shared_ptr<Queue> m_queue;
  QThreadPool m_pool;
};

}  // namespace portrait
