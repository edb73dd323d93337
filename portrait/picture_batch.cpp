#include "portrait/picture_batch.h"

#include <QThreadPool>
#include <optional>

#include "portrait/service.h"

namespace portrait {

std::vector<Expected<ImportedPortrait, Error>> importPictureFiles(
    const std::vector<PictureImportJob>& jobs) {
  std::vector<std::optional<Expected<ImportedPortrait, Error>>> done(jobs.size());
  // A pool of its own: the global one may be busy with the caller's work.
  QThreadPool pool;
  for (size_t i = 0; i < jobs.size(); ++i) {
    pool.start([&jobs, &done, i] {
      const PictureImportJob& job = jobs[i];
      done[i].emplace(importPictureFile(job.archivePath, job.picturePath, job.choice));
    });
  }
  pool.waitForDone();
  std::vector<Expected<ImportedPortrait, Error>> results;
  results.reserve(done.size());
  for (auto& result : done) results.push_back(std::move(*result));
  return results;
}

}  // namespace portrait
