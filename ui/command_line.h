#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QCommandLineParser;

namespace ui {

// The editor's command line: an optional archive to open, --help and --version.
void describeCommandLine(QCommandLineParser& parser);

// Whether the arguments only ask for text (help or version), which needs no
// window and no display.
bool asksOnlyForText(const QStringList& arguments);

// The archive named on a command line the parser has processed.
std::optional<QString> archiveArgument(const QCommandLineParser& parser);

// Names the application, its version and organisation, as --version and the
// window system show them.
void setApplicationIdentity();

}  // namespace ui
