#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <memory>

#include "cli/exit_status.h"
#include "cli/file_failure.h"

namespace cli {

class ProgressBar;

// Where the command line's words go. A command's own output (what info lists)
// goes to standard output; notes on what was or would be written too, unless
// quiet. Every refusal or failure goes to standard error and names its file.
// A batch of more than one file shows a progress bar on standard error when
// that is a terminal and the command is not quiet.
class Console {
 public:
  struct Settings {
    bool quiet = false;
    FILE* out = stdout;
    FILE* err = stderr;
  };
  explicit Console(const Settings& settings);
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // The command's output, as text or as bytes that are already encoded.
  void result(const QString& line);
  void resultBytes(const QByteArray& bytes);
  // Sends what the command wrote so far on its way, for a reader that waits.
  void flushResults();
  void note(const QString& line);
  void failure(const FileFailure& failure);
  // A problem with the command itself, not with one of its files.
  void usageError(const QString& message);

  void beginBatch(qsizetype files);
  void fileDone();
  void endBatch();

  // Flushes standard output and tells on standard error when anything
  // written to it was lost (a full disk, a closed pipe): a listing that was cut
  // short must not look complete. Then counts as a failure.
  void finishOutput();

  qsizetype failureCount() const { return m_failures; }
  // Success, or FileFailed once any file failed or output was lost.
  ExitStatus status() const;

 private:
  void write(FILE* stream, const QByteArray& bytes);

  Settings m_settings;
  bool m_errIsTerminal = false;
  qsizetype m_failures = 0;
  int m_outputError = 0;  // errno of the first write to standard output that failed
  std::unique_ptr<ProgressBar> m_progress;
};

// "courtside-portraits-cli"
QString programName();

}  // namespace cli
