#include "ui/roster_batch.h"

#include <QThread>
#include <algorithm>

#include "archive/prepared_file.h"

namespace ui {

std::unique_ptr<RosterBatch> RosterBatch::exporting(
    std::vector<portrait::RosterExportJob> jobs, std::optional<portrait::PictureFormat> picture) {
  const int total = int(jobs.size());
  auto prepare = [jobs = std::move(jobs), picture](size_t first, size_t count) {
    const std::vector<portrait::RosterExportJob> chunk(jobs.begin() + qsizetype(first),
                                                       jobs.begin() + qsizetype(first + count));
    std::vector<Prepared> prepared;
    for (auto& done : portrait::prepareRosterExports(chunk, picture, archive::Making::Prepare))
      prepared.emplace_back(done.job.targetPath, std::move(done.file));
    return prepared;
  };
  return std::unique_ptr<RosterBatch>(new RosterBatch(Kind::Export, total, std::move(prepare)));
}

std::unique_ptr<RosterBatch> RosterBatch::importing(std::vector<portrait::RosterImportJob> jobs,
                                                    portrait::ImportChoice choice) {
  const int total = int(jobs.size());
  auto prepare = [jobs = std::move(jobs), choice](size_t first, size_t count) {
    const std::vector<portrait::RosterImportJob> chunk(jobs.begin() + qsizetype(first),
                                                       jobs.begin() + qsizetype(first + count));
    std::vector<Prepared> prepared;
    for (auto& done : portrait::prepareRosterImports(chunk, choice, archive::Making::Prepare))
      prepared.emplace_back(done.job.archivePath, std::move(done.file));
    return prepared;
  };
  return std::unique_ptr<RosterBatch>(new RosterBatch(Kind::Import, total, std::move(prepare)));
}

RosterBatch::RosterBatch(Kind kind, int total, Prepare prepare)
    : m_kind(kind), m_total(total), m_prepare(std::move(prepare)) {}

RosterBatch::~RosterBatch() {
  if (!m_thread) return;
  m_cancel = true;
  m_thread->wait();
  delete m_thread;
}

void RosterBatch::start() {
  m_thread = QThread::create([this] { run(); });
  // Handed over on this object's thread once the batch's thread has ended.
  connect(m_thread, &QThread::finished, this, &RosterBatch::finished);
  m_thread->start();
}

void RosterBatch::cancel() { m_cancel = true; }

void RosterBatch::run() {
  const size_t total = size_t(m_total);
  // A few files a core at a time: every core busy, and Cancel is heard soon.
  const size_t chunk = size_t(std::max(1, QThread::idealThreadCount())) * 2;
  const size_t group = archive::largestCommitGroup();
  std::vector<archive::PreparedFile> pending;
  std::vector<QString> pendingNames;
  size_t done = 0;
  for (size_t first = 0; first < total && !m_cancel; first += chunk) {
    const size_t count = std::min(chunk, total - first);
    for (auto& [name, file] : m_prepare(first, count)) {
      if (!file) {
        m_failures << Failure{file.error().file, file.error().error};
        continue;
      }
      pending.push_back(std::move(std::get<archive::PreparedFile>(*file)));
      pendingNames.push_back(name);
    }
    done += count;
    QMetaObject::invokeMethod(
        this, [this, done] { emit progressed(int(done), m_total); }, Qt::QueuedConnection);
    if (pending.size() + chunk > group && !m_cancel) commit(pending, pendingNames);
  }
  if (!m_cancel) commit(pending, pendingNames);
  // Cancelled: what was prepared and not committed is given up here.
  pending.clear();
}

void RosterBatch::commit(std::vector<archive::PreparedFile>& pending,
                         std::vector<QString>& pendingNames) {
  const auto results = archive::commitFiles(pending);
  for (size_t i = 0; i < results.size(); ++i) {
    if (results[i])
      ++m_written;
    else
      m_failures << Failure{pendingNames[i], portrait::Error::archive(results[i].error())};
  }
  pending.clear();
  pendingNames.clear();
}

}  // namespace ui
