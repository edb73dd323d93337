#include "cli/console.h"

#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstring>

#include "cli/printable_text.h"
#include "cli/progress_bar.h"

namespace cli {

QString programName() { return QStringLiteral("courtside-portraits-cli"); }

Console::Console(const Settings& settings)
    : m_settings(settings), m_errIsTerminal(::isatty(::fileno(settings.err)) == 1) {}

Console::~Console() = default;

void Console::write(FILE* stream, const QByteArray& bytes) {
  if (m_progress) m_progress->clear();
  const bool written =
      std::fwrite(bytes.constData(), 1, bytes.size(), stream) == size_t(bytes.size());
  if (stream != m_settings.out) return;
  // Standard error is unbuffered; standard output is flushed with each line
  // so that the two keep their order on one terminal.
  const bool flushed = !m_progress || std::fflush(stream) == 0;
  if ((!written || !flushed) && m_outputError == 0) m_outputError = errno != 0 ? errno : EIO;
}

void Console::finishOutput() {
  if ((std::fflush(m_settings.out) != 0 || std::ferror(m_settings.out) != 0) && m_outputError == 0)
    m_outputError = errno != 0 ? errno : EIO;
  if (m_outputError == 0) return;
  ++m_failures;
  if (m_outputError == EPIPE) return;  // the reader left on purpose (| head)
  usageError(QCoreApplication::translate("cli", "standard output: ") +
             QString::fromLocal8Bit(std::strerror(m_outputError)));
}

void Console::result(const QString& line) {
  write(m_settings.out, (line + QLatin1Char('\n')).toLocal8Bit());
}

void Console::resultBytes(const QByteArray& bytes) { write(m_settings.out, bytes); }

void Console::flushResults() {
  if (std::fflush(m_settings.out) != 0 && m_outputError == 0)
    m_outputError = errno != 0 ? errno : EIO;
}

void Console::note(const QString& line) {
  if (!m_settings.quiet) result(line);
}

void Console::failure(const FileFailure& failure) {
  ++m_failures;
  std::fflush(m_settings.out);
  // A reason may quote a name too: nothing from a file or a name reaches the
  // terminal as a control character.
  write(m_settings.err, (programName() + QCoreApplication::translate("cli", ": ") +
                         printableText(failure.file) + QCoreApplication::translate("cli", ": ") +
                         printableText(failure.reason) + QLatin1Char('\n'))
                            .toLocal8Bit());
}

void Console::usageError(const QString& message) {
  write(m_settings.err, (programName() + QCoreApplication::translate("cli", ": ") +
                         printableText(message) + QLatin1Char('\n'))
                            .toLocal8Bit());
}

void Console::beginBatch(qsizetype files) {
  if (files > 1 && !m_settings.quiet && m_errIsTerminal)
    m_progress = std::make_unique<ProgressBar>(m_settings.err, files);
}

void Console::fileDone() {
  if (m_progress) m_progress->advance();
}

void Console::endBatch() { m_progress.reset(); }

ExitStatus Console::status() const {
  return m_failures > 0 ? ExitStatus::FileFailed : ExitStatus::Success;
}

}  // namespace cli
