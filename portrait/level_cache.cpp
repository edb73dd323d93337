#include "portrait/level_cache.h"

#include <QMutexLocker>
#include <algorithm>

namespace portrait {

std::list<LevelCache::Entry>::iterator LevelCache::find(const FitKey& fit) {
  return std::find_if(m_entries.begin(), m_entries.end(),
                      [&](const Entry& entry) { return entry.fit == fit; });
}

std::list<LevelCache::Entry>::const_iterator LevelCache::find(const FitKey& fit) const {
  return std::find_if(m_entries.cbegin(), m_entries.cend(),
                      [&](const Entry& entry) { return entry.fit == fit; });
}

QImage LevelCache::fitted(const FitKey& fit, const std::function<QImage()>& make) {
  {
    const QMutexLocker lock(&m_mutex);
    if (const auto entry = find(fit); entry != m_entries.end()) {
      m_entries.splice(m_entries.begin(), m_entries, entry);
      return entry->picture;
    }
  }
  QImage picture = make();
  const QMutexLocker lock(&m_mutex);
  // Another thread may have fitted the same meanwhile: one entry per fit.
  if (const auto entry = find(fit); entry != m_entries.end()) return entry->picture;
  m_entries.push_front(Entry{fit, picture, {}, picture.sizeInBytes()});
  trim();
  return picture;
}

std::optional<QByteArray> LevelCache::level(const FitKey& fit, uint8_t code,
                                            fsh::DxtQuality quality, int level) const {
  const QMutexLocker lock(&m_mutex);
  const auto entry = find(fit);
  if (entry == m_entries.cend()) return std::nullopt;
  const auto kept = entry->levels.find({code, quality, level});
  if (kept == entry->levels.cend()) return std::nullopt;
  return kept->second;
}

void LevelCache::keepLevel(const FitKey& fit, uint8_t code, fsh::DxtQuality quality, int level,
                           const QByteArray& bytes) {
  const QMutexLocker lock(&m_mutex);
  ++m_levelsKept;
  const auto entry = find(fit);
  if (entry == m_entries.end()) return;  // trimmed meanwhile
  if (entry->levels.insert_or_assign({code, quality, level}, bytes).second)
    entry->bytes += bytes.size();
  trim();
}

int LevelCache::levelsKept() const {
  const QMutexLocker lock(&m_mutex);
  return m_levelsKept;
}

void LevelCache::trim() {
  qint64 total = 0;
  for (const Entry& entry : m_entries) total += entry.bytes;
  while (m_entries.size() > 1 && total > m_byteBudget) {
    total -= m_entries.back().bytes;
    m_entries.pop_back();
  }
}

}  // namespace portrait
