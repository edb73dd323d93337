#include "ui/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

#include "common/version.h"
#include "ui/application_title.h"

namespace ui {

void describeCommandLine(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("Shows and edits the identifier and the portrait image of a player portrait "
                     "archive (.big)."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(
      QStringLiteral("archive"),
      QCoreApplication::translate("CommandLine",
                                  "A portrait archive to open, as Load would, or a folder of "
                                  "archives to open as a roster."),
      QStringLiteral("[archive|folder]"));
}

bool asksOnlyForText(const QStringList& arguments) {
  static const QStringList textOptions{"-h", "--help", "-?", "--help-all", "-v", "--version"};
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String("--")) break;
    if (textOptions.contains(arguments[i])) return true;
  }
  return false;
}

std::optional<QString> archiveArgument(const QCommandLineParser& parser) {
  const QStringList positional = parser.positionalArguments();
  if (positional.isEmpty()) return std::nullopt;
  return positional.constFirst();
}

void setApplicationIdentity() {
  QCoreApplication::setApplicationName(productName());
  QCoreApplication::setApplicationVersion(QLatin1String(BuildInfo::Version));
  QCoreApplication::setOrganizationName(
      QCoreApplication::translate("CommandLine", "Courtside Portraits Editor project"));
  // Lets a Wayland compositor match the window to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QLatin1String(BuildInfo::ApplicationId));
}

}  // namespace ui
