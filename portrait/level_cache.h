#pragma once

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QRect>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <optional>
#include <tuple>

#include "fsh/dxt_codec.h"
#include "portrait/import_settings.h"

namespace portrait {

// How the picture was fitted to the portrait: what a fitted picture and every
// level encoded from it depend on, besides the pixel format.
struct FitKey {
  FitMode mode = FitMode::Fill;
  QRect crop;
  bool operator==(const FitKey&) const = default;
};

// What one picture import has made so far, shared by every thread that encodes
// it: the fitted picture per fit and crop, and for each of them every level's
// bytes per pixel format and quality. A change of mipmaps then encodes only the
// levels not made yet, and going back to earlier settings encodes nothing.
// Bounded in bytes: the fits used longest ago go first, the newest always stays.
class LevelCache {
 public:
  explicit LevelCache(qint64 byteBudget = qint64(256) << 20) : m_byteBudget(byteBudget) {}

  // The fitted picture, made by `make` the first time it is asked for. `make`
  // runs unlocked, so that a long fit does not hold up other threads.
  QImage fitted(const FitKey& fit, const std::function<QImage()>& make);

  std::optional<QByteArray> level(const FitKey& fit, uint8_t code, fsh::DxtQuality quality,
                                  int level) const;
  void keepLevel(const FitKey& fit, uint8_t code, fsh::DxtQuality quality, int level,
                 const QByteArray& bytes);

  // How many levels have been encoded and kept since the import began.
  int levelsKept() const;

 private:
  struct Entry {
    FitKey fit;
    QImage picture;
    std::map<std::tuple<uint8_t, fsh::DxtQuality, int>, QByteArray> levels;
    qint64 bytes = 0;
  };
  std::list<Entry>::iterator find(const FitKey& fit);
  std::list<Entry>::const_iterator find(const FitKey& fit) const;
  void trim();

  const qint64 m_byteBudget;
  mutable QMutex m_mutex;
  std::list<Entry> m_entries;  // the most recently fitted first
  int m_levelsKept = 0;
};

}  // namespace portrait
