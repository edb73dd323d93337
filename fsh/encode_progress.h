#pragma once

#include <QtGlobal>

namespace fsh {

// Watches a long encode and may stop it: the encoder reports each stretch of
// pixels it has finished (a row of blocks, a level) and stops when told to, so
// that a 4096x4096 portrait can show its progress and be cancelled at once.
class EncodeProgress {
 public:
  virtual ~EncodeProgress() = default;
  // False stops the encode.
  virtual bool advance(qint64 pixelsDone) = 0;
};

}  // namespace fsh
