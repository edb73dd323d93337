#include "archive/prepared_file.h"

#include "fileio/batch_commit.h"
#include "fileio/regular_file.h"

std::vector<Expected<void, ArchiveError>> commitFiles(std::vector<PreparedFile>& files) {
  std::vector<Expected<void, ArchiveError>> results;
  for (auto& result : fileio::commitTogether(files)) results.emplace_back(result);
  return results;
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
