#include "fileio/batch_commit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>

#include "fileio/file_handle.h"

namespace fileio {

namespace {

using Result = Expected<void, FileError>;

// One open file on each file system the replacements lie on, to sync it by.
struct FileSystems {
  std::map<dev_t, FileHandle> handles;
  std::map<dev_t, int> syncErrors;  // errno of a failed sync, by file system

  dev_t add(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return 0;
    if (!handles.count(info.st_dev))
      handles.emplace(info.st_dev, FileHandle(::fcntl(fd, F_DUPFD_CLOEXEC, 0)));
    return info.st_dev;
  }

  void syncAll() {
    for (const auto& [device, handle] : handles)
      if (::syncfs(handle.get()) != 0) syncErrors[device] = errno;
  }
};

}  // namespace

std::vector<Result> commitTogether(std::vector<FileReplacement>& replacements) {
  FileSystems fileSystems;
  std::vector<dev_t> devices;
  devices.reserve(replacements.size());
  for (const FileReplacement& replacement : replacements)
    devices.push_back(replacement.method() == FileReplacement::Method::Rename
                          ? fileSystems.add(replacement.preparedHandle())
                          : 0);
  fileSystems.syncAll();

  std::vector<Result> results;
  results.reserve(replacements.size());
  for (size_t i = 0; i < replacements.size(); ++i) {
    FileReplacement& replacement = replacements[i];
    const auto failed = fileSystems.syncErrors.find(devices[i]);
    if (devices[i] != 0 && failed != fileSystems.syncErrors.end()) {
      results.emplace_back(Unexpected(FileError::system(failed->second, replacement.path())));
      const FileReplacement givenUp(std::move(replacement));  // its temporary file goes with it
      continue;
    }
    // A write in place syncs itself whatever it is told.
    const bool synced = devices[i] != 0;
    results.push_back(replacement.commit(synced ? FileReplacement::Sync::DoneByCaller
                                                : FileReplacement::Sync::File));
  }
  // The renames, as durable as the content they name. A file system that
  // cannot say so fails the files on it, although their new content is in place.
  fileSystems.syncErrors.clear();
  fileSystems.syncAll();
  for (size_t i = 0; i < results.size(); ++i) {
    const auto failed = fileSystems.syncErrors.find(devices[i]);
    if (devices[i] != 0 && results[i] && failed != fileSystems.syncErrors.end())
      results[i] = Unexpected(FileError::system(failed->second, replacements[i].path()));
  }
  return results;
}

}  // namespace fileio
