#include <QApplication>
#include <QCommandLineParser>
#include <memory>

#include "fileio/file_size_signal.h"
#include "ui/command_line.h"
#include "ui/first_paint.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  fileio::ignoreFileSizeSignal();
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  // Help and version print and end: they must work without a display.
  const bool textOnly = asksOnlyForText(arguments);
  std::unique_ptr<QCoreApplication> app;
  if (textOnly)
    app = std::make_unique<QCoreApplication>(argc, argv);
  else
    app = std::make_unique<QApplication>(argc, argv);
  setApplicationIdentity();

  QCommandLineParser parser;
  describeCommandLine(parser);
  parser.process(*app);  // ends the program after --help or --version, or a wrong option
  if (textOnly) return 0;

  MainWindow window;
  window.show();
  // The window answers first; the archive, and the portrait window, follow.
  if (const std::optional<QString> archive = archiveArgument(parser))
    afterFirstPaint(window, [&window, path = *archive] { window.openArchive(path); });
  return app->exec();
}
