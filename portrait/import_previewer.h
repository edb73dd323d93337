#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>

#include "fsh/fsh_error.h"
#include "portrait/import_settings.h"
#include "portrait/picture_import.h"

namespace portrait {

// The previews of a picture import, made off the calling thread so that a
// window answers at once: for each choice of settings a quick encode first,
// then the one the archive will get, which replaces it and is kept by the
// import, so that OK writes it without encoding again. A new choice stops the
// work for the one before and drops its results.
class ImportPreviewer : public QObject {
  Q_OBJECT

 public:
  explicit ImportPreviewer(PictureImport& import, QObject* parent = nullptr);
  ~ImportPreviewer() override;  // stops the work and waits the moment that takes

  // shownSize, when given, is the size a window shows the portrait at: a
  // larger result comes with a copy scaled down to it, made off this thread.
  void request(const ImportSettings& settings, QSize shownSize = {});
  // Stops the work; nothing more is delivered until the next request.
  void stop();
  // Whether the last result delivered is the one the archive will get.
  bool isFinal() const { return m_final; }

 signals:
  // A result of the settings last asked for; final when the archive gets it.
  // `reduced` is its picture at the size asked for, or null.
  void previewReady(const portrait::EncodedPortrait& result, bool final, const QImage& reduced);
  void previewFailed(const fsh::Error& error);
  // The share of the final encode done so far, 0 to 100.
  void progressed(int percent);

 private:
  struct Job {
    std::atomic<bool> stopped = false;
  };
  void run(const Job& job, quint64 generation, const ImportSettings& settings, QSize shownSize,
           PortraitEncoder& encoder);
  void deliver(quint64 generation, const ImportSettings& settings,
               const Expected<EncodedPortrait, fsh::Error>& result, bool final, QSize shownSize);

  PictureImport& m_import;
  QThreadPool m_pool;
  std::shared_ptr<Job> m_job;
  quint64 m_generation = 0;  // of the last request: results of others are dropped
  bool m_final = false;
};

}  // namespace portrait
