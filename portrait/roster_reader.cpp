#include "portrait/roster_reader.h"

#include <QMutex>
#include <QSet>
#include <deque>

namespace portrait {

// Paths waiting to be read. A path moved ahead stays in its old place too and
// is skipped there: only paths still in pending are read.
struct RosterReader::Queue {
  QMutex mutex;
  std::deque<QString> first;
  std::deque<QString> rest;
  QSet<QString> pending;
  int readers = 0;

  std::optional<QString> take() {
    const QMutexLocker lock(&mutex);
    for (std::deque<QString>* queue : {&first, &rest}) {
      while (!queue->empty()) {
        QString path = std::move(queue->front());
        queue->pop_front();
        if (pending.remove(path)) return path;
      }
    }
    --readers;
    return std::nullopt;
  }
};

RosterReader::RosterReader(int thumbnailSide, QObject* parent)
    : QObject(parent), m_thumbnailSide(thumbnailSide), m_queue(std::make_shared<Queue>()) {}

RosterReader::~RosterReader() {
  clear();
  m_pool.waitForDone();
}

void RosterReader::setThreadCount(int count) { m_pool.setMaxThreadCount(count); }

void RosterReader::read(const QStringList& paths) {
  {
    const QMutexLocker lock(&m_queue->mutex);
    for (const QString& path : paths) {
      if (m_queue->pending.contains(path)) continue;
      m_queue->pending.insert(path);
      m_queue->rest.push_back(path);
    }
  }
  startReaders();
}

void RosterReader::readFirst(const QStringList& paths) {
  {
    const QMutexLocker lock(&m_queue->mutex);
    m_queue->first.clear();
    for (const QString& path : paths)
      if (m_queue->pending.contains(path)) m_queue->first.push_back(path);
  }
  startReaders();
}

void RosterReader::clear() {
  const QMutexLocker lock(&m_queue->mutex);
  m_queue->first.clear();
  m_queue->rest.clear();
  m_queue->pending.clear();
}

void RosterReader::startReaders() {
  const QMutexLocker lock(&m_queue->mutex);
  const auto wanted = int(std::min<qsizetype>(m_pool.maxThreadCount(), m_queue->pending.size()));
  for (; m_queue->readers < wanted; ++m_queue->readers) {
    m_pool.start([this, queue = m_queue, side = m_thumbnailSide] {
      while (const auto path = queue->take()) {
        RosterEntry entry = readRosterEntry(*path, side);
        // Queued to this object's thread; dropped if the reader is gone by then.
        QMetaObject::invokeMethod(
            this, [this, path = *path, entry = std::move(entry)] { emit entryRead(path, entry); },
            Qt::QueuedConnection);
      }
    });
  }
}

}  // namespace portrait
