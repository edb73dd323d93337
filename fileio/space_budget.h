#pragma once

#include <sys/types.h>

#include <QString>
#include <map>

#include "common/expected.h"
#include "fileio/file_error.h"

namespace fileio {

// The room one planned file would take on its file system.
struct SpaceNeed {
  QString path;          // the file, as the caller named it
  dev_t device = 0;      // its file system
  qint64 room = 0;       // bytes it would take there
  qint64 available = 0;  // bytes free there when it was checked
};

// The room a dry run's files would take, summed per file system: each takes
// its share of what was free on its file system when the first of them was
// checked, so that files that each fit but together do not are found.
class SpaceBudget {
 public:
  // Fails with "No space left on device", naming the file, where what is left
  // cannot hold it; it then takes nothing.
  Expected<void, FileError> take(const SpaceNeed& need);

 private:
  std::map<dev_t, qint64> m_left;
};

}  // namespace fileio
