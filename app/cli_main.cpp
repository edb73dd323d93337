#include <QCoreApplication>
#include <iostream>

#include "archive/file_size_signal.h"
#include "cli/command_line_parser.h"
#include "cli/console.h"
#include "cli/interruption.h"
#include "cli/run_command.h"

int main(int argc, char* argv[]) {
  // A file-size limit makes a write fail with EFBIG, which is reported for the
  // file it concerns; its signal would end the program with temporary files left.
  ignoreFileSizeSignal();
  // No window and no display: Qt Core, and Qt Gui's image handlers, which need neither.
  QCoreApplication app(argc, argv);

  const auto parsed = parseCommandLine(argc, argv, std::cout, std::cerr);
  if (const auto* status = std::get_if<ExitStatus>(&parsed)) return exitCode(*status);
  const CommandLine& commandLine = std::get<CommandLine>(parsed);
  Console console({commandLine.quiet});
  Interruption::watch();
  const ExitStatus status = runCommand(commandLine, console);
  if (Interruption::requested()) {
    console.usageError(QStringLiteral("interrupted; every file is either done or untouched"));
    Interruption::endAsRequested();
  }
  return exitCode(status);
}
