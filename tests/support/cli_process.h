#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// What a run of the command-line program showed: its exit code (-1 when it
// did not exit normally) and both output streams.
struct CliRun {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
  QString errText() const { return QString::fromUtf8(err); }
  QString outText() const { return QString::fromUtf8(out); }
};

struct CliOptions {
  QString workingDirectory;
  QByteArray input;  // standard input
  // Runs in the child before the program starts, e.g. to give it a terminal.
  std::function<void()> childSetup;
};

// Runs courtside-portraits-cli (CPE_CLI_PATH) with the arguments.
CliRun runCli(const QStringList& arguments, const CliOptions& options = {});
