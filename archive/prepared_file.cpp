#include "archive/prepared_file.h"

#include <sys/resource.h>

#include <algorithm>

#include "fileio/batch_commit.h"
#include "fileio/regular_file.h"

namespace archive {

std::vector<Expected<void, ArchiveError>> commitFiles(std::vector<PreparedFile>& files) {
  std::vector<Expected<void, ArchiveError>> results;
  for (auto& result : fileio::commitTogether(files)) results.emplace_back(result);
  return results;
}

size_t largestCommitGroup() {
  rlimit limit{};
  rlim_t open = 1024;
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    open = limit.rlim_cur;
  return std::clamp<size_t>((open > 64 ? open - 64 : 1) / 2, 1, 1000);
}

Expected<void, ArchiveError> writeFile(const QString& path, QByteArrayView bytes) {
  return fileio::replaceFileContents(path, bytes);
}

Expected<MemoryFile, ArchiveError> memoryFile(const PlannedFile& file) {
  auto memory = fileio::MemoryFile::of(file.content, file.path());
  if (!memory) return Unexpected(memory.error());
  return std::move(*memory);
}

std::optional<FileIdentity> fileIdentity(const QString& path) { return fileio::identityOf(path); }

bool isSameFile(const QString& a, const QString& b) {
  const auto identity = fileio::identityOf(a);
  return identity && identity == fileio::identityOf(b);
}

}  // namespace archive
