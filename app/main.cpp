#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <memory>

#include "fileio/file_size_signal.h"
#include "portrait/input_file.h"
#include "ui/command_line.h"
#include "ui/first_paint.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  fileio::ignoreFileSizeSignal();
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  // Help and version print and end: they must work without a display.
  const bool textOnly = ui::asksOnlyForText(arguments);
  std::unique_ptr<QCoreApplication> app;
  if (textOnly)
    app = std::make_unique<QCoreApplication>(argc, argv);
  else
    app = std::make_unique<QApplication>(argc, argv);
  ui::setApplicationIdentity();

  QCommandLineParser parser;
  ui::describeCommandLine(parser);
  parser.process(*app);  // ends the program after --help or --version, or a wrong option
  if (textOnly) return 0;

  // Before anything is pasted: Qt decodes another program's picture itself.
  portrait::allowPictureAllocations();
  ui::MainWindow window;
  window.show();
  // The window answers first; the archive, and the portrait window, follow. A
  // folder opens as a roster beside the window.
  if (const std::optional<QString> argument = ui::archiveArgument(parser)) {
    ui::afterFirstPaint(window, [&window, path = *argument] {
      if (QFileInfo(path).isDir())
        window.openRoster(path);
      else
        window.openArchive(path);
    });
  }
  return app->exec();
}
