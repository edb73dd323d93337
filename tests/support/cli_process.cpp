#include "support/cli_process.h"

#include <QProcess>

CliRun runCli(const QStringList& arguments, const CliOptions& options) {
  QProcess cli;
  if (!options.workingDirectory.isEmpty()) cli.setWorkingDirectory(options.workingDirectory);
  if (options.childSetup) cli.setChildProcessModifier(options.childSetup);
  cli.start(QStringLiteral(CPE_CLI_PATH), arguments);
  cli.write(options.input);
  cli.closeWriteChannel();
  if (!cli.waitForFinished(60000)) {
    cli.kill();
    cli.waitForFinished();
  }
  CliRun run;
  run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
  run.out = cli.readAllStandardOutput();
  run.err = cli.readAllStandardError();
  return run;
}
