#include "portrait/import_previewer.h"

#include <QThread>
#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <unistd.h>
#endif
#include <algorithm>
#include <functional>

#include "fsh/pixel_formats.h"

namespace portrait {

namespace {

[[maybe_unused]] constexpr int BackgroundNice = 10;

// Stops the encode once its job is stopped, and reports each whole percent.
class JobProgress final : public fsh::EncodeProgress {
 public:
  JobProgress(const std::atomic<bool>& stopped, qint64 total, std::function<void(int)> report = {})
      : m_stopped(stopped), m_total(std::max<qint64>(1, total)), m_report(std::move(report)) {}

  bool advance(qint64 pixelsDone) override {
    if (m_stopped.load(std::memory_order_relaxed)) return false;
    m_done += pixelsDone;
    const int percent = int(std::min<qint64>(100, m_done * 100 / m_total));
    if (m_report && percent != m_percent) {
      m_percent = percent;
      m_report(percent);
    }
    return true;
  }

 private:
  const std::atomic<bool>& m_stopped;
  const qint64 m_total;
  const std::function<void(int)> m_report;
  qint64 m_done = 0;
  int m_percent = -1;
};

}  // namespace

ImportPreviewer::ImportPreviewer(PictureImport& import, QObject* parent)
    : QObject(parent), m_import(import) {
  // One more thread than cores: a new request never waits for a stopped job
  // to reach the end of its row of blocks.
  m_pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount() + 1));
}

ImportPreviewer::~ImportPreviewer() {
  stop();
  m_pool.waitForDone();
}

void ImportPreviewer::stop() {
  if (m_job) m_job->stopped = true;
  m_job.reset();
  m_pool.clear();  // jobs not started yet
  ++m_generation;
}

void ImportPreviewer::request(const ImportSettings& settings, QSize shownSize) {
  stop();
  m_final = false;
  if (auto kept = m_import.kept(settings)) {
    m_final = true;
    emit previewReady(*kept, true, {});
    return;
  }
  auto job = std::make_shared<Job>();
  m_job = job;
  m_pool.start(
      [this, job, generation = m_generation, settings, shownSize, encoder = m_import.encoder()] {
        run(*job, generation, settings, shownSize, *encoder);
      });
}

void ImportPreviewer::run(const Job& job, quint64 generation, const ImportSettings& settings,
                          QSize shownSize, PortraitEncoder& encoder) {
  if (job.stopped) return;
#ifdef Q_OS_LINUX
  // Below the window's thread, so that it paints at once however busy the
  // encode keeps every core; libsquish's OpenMP threads, started from this
  // thread, inherit it. Qt's thread priorities do not reach Linux's nice value.
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), BackgroundNice);
#endif
  if (fsh::isDxtCode(settings.code) && !encoder.isEncoded(settings, fsh::DxtQuality::Best)) {
    JobProgress watch(job.stopped, encoder.pixelCount(settings));
    const auto quick = encoder.encode(settings, fsh::DxtQuality::Quick, &watch);
    if (job.stopped) return;
    deliver(generation, settings, quick, false, shownSize);
    if (!quick) return;
  }
  JobProgress progress(job.stopped, encoder.pixelCount(settings), [this, generation](int percent) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, percent] {
          if (generation == m_generation) emit progressed(percent);
        },
        Qt::QueuedConnection);
  });
  const auto best = encoder.encode(settings, fsh::DxtQuality::Best, &progress);
  if (job.stopped) return;
  deliver(generation, settings, best, true, shownSize);
}

void ImportPreviewer::deliver(quint64 generation, const ImportSettings& settings,
                              const Expected<EncodedPortrait, fsh::Error>& result, bool final,
                              QSize shownSize) {
  // Scaling a 4096x4096 picture down smoothly takes a good part of a second:
  // here, not on the thread that paints.
  QImage reduced;
  if (result && !shownSize.isEmpty() && result->decoded.width() > shownSize.width()) {
    reduced = result->decoded.scaled(shownSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  QMetaObject::invokeMethod(
      this,
      [this, generation, settings, result, final, reduced] {
        if (generation != m_generation) return;
        if (!result) {
          emit previewFailed(result.error());
          return;
        }
        if (final) {
          m_import.keep(settings, *result);
          m_final = true;
        }
        emit previewReady(*result, final, reduced);
      },
      Qt::QueuedConnection);
}

}  // namespace portrait
