#include "fileio/space_budget.h"

#include <cerrno>

namespace fileio {

Expected<void, FileError> SpaceBudget::take(const SpaceNeed& need) {
  qint64& left = m_left.try_emplace(need.device, need.available).first->second;
  if (need.room > left) return Unexpected(FileError::system(ENOSPC, need.path));
  left -= need.room;
  return {};
}

}  // namespace fileio
