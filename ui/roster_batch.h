#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "archive/new_file.h"
#include "common/expected.h"
#include "portrait/picture_import.h"
#include "portrait/picture_names.h"
#include "portrait/roster_export.h"
#include "portrait/roster_import.h"

class QThread;

namespace ui {

// Many archives' exports or imports, run on a thread of their own as one
// batch: every file is prepared aside, then they are committed together with
// one sync (in groups the limit on open files allows). Cancel stops the
// preparing; what has been prepared and not committed is given up, so each
// file is complete or untouched.
class RosterBatch : public QObject {
  Q_OBJECT

 public:
  enum class Kind { Export, Import };
  struct Failure {
    QString file;
    portrait::Error error;
  };

  static std::unique_ptr<RosterBatch> exporting(std::vector<portrait::RosterExportJob> jobs,
                                                std::optional<portrait::PictureFormat> picture);
  static std::unique_ptr<RosterBatch> importing(std::vector<portrait::RosterImportJob> jobs,
                                                portrait::ImportChoice choice);
  ~RosterBatch() override;  // cancels and waits for the thread

  void start();
  void cancel();

  Kind kind() const { return m_kind; }
  int total() const { return m_total; }
  // Once finished: the files written, the failures, and whether it was cancelled.
  int written() const { return m_written; }
  const QList<Failure>& failures() const { return m_failures; }
  bool cancelled() const { return m_cancel; }

 signals:
  void progressed(int done, int total);
  void finished();

 private:
  using Prepared = std::pair<QString, Expected<archive::NewFile, portrait::RosterFailure>>;
  // Prepares the jobs [first, first + count).
  using Prepare = std::function<std::vector<Prepared>(size_t first, size_t count)>;
  RosterBatch(Kind kind, int total, Prepare prepare);
  void run();
  void commit(std::vector<archive::PreparedFile>& pending, std::vector<QString>& pendingNames);

  Kind m_kind;
  int m_total;
  Prepare m_prepare;
  std::atomic<bool> m_cancel = false;
  QThread* m_thread = nullptr;
  // Written by the batch's thread, read once it has finished.
  int m_written = 0;
  QList<Failure> m_failures;
};

}  // namespace ui
