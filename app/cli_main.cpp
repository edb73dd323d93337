#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>
#include <iostream>

#include "cli/command_line_parser.h"
#include "cli/console.h"
#include "cli/interruption.h"
#include "cli/run_command.h"
#include "fileio/file_size_signal.h"

namespace {

// Qt's and its image libraries' warnings ("libpng error: Read Error") would
// stand beside the program's own message on the same file, without naming
// it; the program's message says it all. Graver messages keep its name.
void keepGraveMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s: %s\n", qPrintable(cli::programName()), qPrintable(message));
}

}  // namespace

int main(int argc, char* argv[]) {
  qInstallMessageHandler(keepGraveMessages);
  // A file-size limit makes a write fail with EFBIG, which is reported for the
  // file it concerns; its signal would end the program with temporary files left.
  fileio::ignoreFileSizeSignal();
  // No window and no display: Qt Core, and Qt Gui's image handlers, which need neither.
  QCoreApplication app(argc, argv);

  const auto parsed = cli::parseCommandLine(argc, argv, std::cout, std::cerr);
  if (const auto* status = std::get_if<cli::ExitStatus>(&parsed)) {
    // Help or the version that could not be written is no success either.
    if (*status == cli::ExitStatus::Success && !std::cout.flush())
      return cli::exitCode(cli::ExitStatus::FileFailed);
    return cli::exitCode(*status);
  }
  const cli::CommandLine& commandLine = std::get<cli::CommandLine>(parsed);
  cli::Console console({commandLine.quiet});
  cli::Interruption::watch();
  cli::ExitStatus status = cli::runCommand(commandLine, console);
  if (cli::Interruption::requested()) {
    if (!cli::Interruption::byClosedOutput())
      console.usageError(QStringLiteral("interrupted; every file is either done or untouched"));
    // The signal asks for an end, not for a wait until a pipe or a terminal
    // takes the rest of the listing; a file takes it at once.
    struct stat out {};
    if (::fstat(STDOUT_FILENO, &out) == 0 && S_ISREG(out.st_mode)) std::fflush(stdout);
    cli::Interruption::endAsRequested();
  }
  // What was written and listed reaches its reader before the program ends;
  // lost output fails the run.
  console.finishOutput();
  if (status == cli::ExitStatus::Success) status = console.status();
  return cli::exitCode(status);
}
