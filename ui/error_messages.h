#pragma once

#include <QString>

#include "archive/archive_error.h"
#include "ui/editor_window.h"

enum class FileCommandName { Load, Save, Import, Export };

// What the window shows for an archive error.
struct ErrorMessage {
  QString text;
  QString caption;
  MessageStyle style = MessageStyle::Plain;
  // Load keeps the hourglass up while it tells of a wrong header length.
  bool pointerResetAfterMessage = false;
  bool operator==(const ErrorMessage&) const = default;
};

// The message for an error of the given command. fileName is the current
// archive's file name and typedIdentifier the identifier the user typed; the
// messages that name them, or a file or folder the error names, show them as
// plain text, isolated and shortened (isolatedUserText).
ErrorMessage errorMessage(FileCommandName command, const ArchiveError& error,
                          const QString& fileName = {}, const QString& typedIdentifier = {});
