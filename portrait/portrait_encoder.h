#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include "common/expected.h"
#include "fsh/dxt_codec.h"
#include "fsh/encode_progress.h"
#include "fsh/fsh_error.h"
#include "fsh/fsh_file.h"
#include "portrait/import_settings.h"
#include "portrait/level_cache.h"

namespace portrait {

// The new portrait for one choice of settings.
struct EncodedPortrait {
  QByteArray image;  // the whole FSH image, as the archive will hold it
  QImage decoded;    // its main bitmap read back: what the game will show
};

// A picture made into a portrait at either DXT quality, from any thread. The
// portrait and the picture never change once it is made; what it encodes is
// kept in its LevelCache, so each level is made once per fit, format and quality.
class PortraitEncoder {
 public:
  PortraitEncoder(fsh::FshFile portrait, int entryIndex, QImage picture, QSize portraitSize);

  // The portrait with the picture in place of its bitmap, its DXT levels at the
  // quality wanted. Fails with ErrorKind::Stopped when `progress` stopped it.
  Expected<EncodedPortrait, fsh::Error> encode(const ImportSettings& settings,
                                               fsh::DxtQuality wanted,
                                               fsh::EncodeProgress* progress = nullptr);

  // Whether an encode at this quality would find every level made already.
  bool isEncoded(const ImportSettings& settings, fsh::DxtQuality wanted) const;
  // The pixels an encode of these settings goes through, level by level: what
  // its progress adds up to.
  qint64 pixelCount(const ImportSettings& settings) const;
  // Levels encoded so far (not found made already).
  int levelsEncoded() const { return m_cache.levelsKept(); }

  const QImage& picture() const { return m_picture; }

 private:
  const fsh::FshFile m_portrait;
  const int m_entryIndex;
  const QImage m_picture;
  const QSize m_portraitSize;
  LevelCache m_cache;
};

// Only DXT has a quicker encoder; every other format is encoded one way.
fsh::DxtQuality qualityFor(uint8_t code, fsh::DxtQuality wanted);

}  // namespace portrait
