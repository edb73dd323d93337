#include "cli/console.h"

#include <unistd.h>

#include "cli/printable_text.h"
#include "cli/progress_bar.h"

QString programName() { return QStringLiteral("courtside-portraits-cli"); }

Console::Console(const Settings& settings)
    : m_settings(settings), m_errIsTerminal(::isatty(::fileno(settings.err)) == 1) {}

Console::~Console() = default;

void Console::write(FILE* stream, const QByteArray& bytes) {
  if (m_progress) m_progress->clear();
  std::fwrite(bytes.constData(), 1, bytes.size(), stream);
  // Standard error is unbuffered; standard output is flushed with each line
  // so that the two keep their order on one terminal.
  if (stream != m_settings.err && m_progress) std::fflush(stream);
}

void Console::result(const QString& line) {
  write(m_settings.out, (line + QLatin1Char('\n')).toLocal8Bit());
}

void Console::resultBytes(const QByteArray& bytes) { write(m_settings.out, bytes); }

void Console::note(const QString& line) {
  if (!m_settings.quiet) result(line);
}

void Console::failure(const FileFailure& failure) {
  ++m_failures;
  std::fflush(m_settings.out);
  write(m_settings.err, (programName() + QStringLiteral(": ") + printableText(failure.file) +
                         QStringLiteral(": ") + failure.reason + QLatin1Char('\n'))
                            .toLocal8Bit());
}

void Console::usageError(const QString& message) {
  write(m_settings.err,
        (programName() + QStringLiteral(": ") + message + QLatin1Char('\n')).toLocal8Bit());
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
