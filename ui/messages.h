#pragma once

#include <QString>
#include <QStringList>

#include "archive/archive_error.h"
#include "fsh/fsh_error.h"
#include "portrait/portrait_error.h"
#include "ui/editor_window.h"

namespace ui {

// Everything the window says about the results of its commands, in one
// place: the refusals and failures of each command, the picture messages and
// the critical-error report. Texts go through QCoreApplication::translate
// ("Messages").

class EditorWindow;

// A runtime failure of a file command (a file that cannot be opened or
// written, a position outside a file, a file dialog that fails): a number and
// the system's description of it.
struct CommandFailure {
  int number = 0;
  QString description;
  bool operator==(const CommandFailure&) const = default;
};

// "ERROR: <description>. [Error #<number>]"
QString formatCommandFailure(const CommandFailure& failure);

// Shows the failure in the critical-error box, with the application title as
// its caption.
void reportCommandFailure(EditorWindow& window, const CommandFailure& failure);

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

// The plain words for a refusal or failure, where no command has its own.
QString reasonText(const archive::ArchiveError& error);

// The message for an error of the given command. fileName is the current
// archive's file name and typedIdentifier the identifier the user typed; the
// messages that name them, or a file or folder the error names, show them as
// plain text, isolated and shortened (isolatedUserText).
ErrorMessage errorMessage(FileCommandName command, const archive::ArchiveError& error,
                          const QString& fileName = {}, const QString& typedIdentifier = {});

// What the window says about pictures and compressed images going into the
// portrait or out of it. An archive's own refusals keep the words of the
// Import and Export messages (errorMessage).

// A file offered for import that cannot be taken in; fileName names it.
ErrorMessage importFileMessage(const QString& fileName, const portrait::Error& error);

// The picture on the clipboard cannot be taken in.
ErrorMessage clipboardPictureMessage(const portrait::Error& error);

// The archive's portrait is no image a picture can replace.
ErrorMessage portraitNotReplaceableMessage(const fsh::Error& error);

// The picture could not be encoded as the new portrait.
ErrorMessage pictureEncodingMessage(const fsh::Error& error);

// The portrait could not be written as the picture fileName.
ErrorMessage pictureExportMessage(const QString& fileName, const portrait::Error& error);

// Why the portrait window shows no picture: "The portrait is damaged (...)."
QString previewProblemText(const portrait::Error& error);

// Why the codec could not read an image, as a sentence about "the <subject>":
// "The portrait is damaged (block at 0x40: ...)."
QString codecProblem(const QString& subject, const fsh::Error& error);

// The portrait could not be written out for editing in an image editor.
ErrorMessage pictureEditingMessage(const portrait::Error& error);
// The desktop has no program for PNG pictures; the user is asked to choose one next.
ErrorMessage noPictureEditorMessage();
// The chosen image editor could not be started; the user is asked to choose another next.
ErrorMessage pictureEditorNotStartedMessage(const QString& program);

// Undo refused: the archive fileName changed on disk since the last import.
ErrorMessage undoChangedSinceMessage(const QString& fileName);

// The question before a dropped file replaces the portrait.
QString replacePortraitQuestion(const QString& archiveName, const QString& imageName);

// One file of a roster's batch that failed, and why: "pl0.png: <reason>".
QString rosterFailureText(const QString& fileName, const portrait::Error& error);

// What a roster's batch of exports or imports did: how many files were
// written of how many, whether it was cancelled, and each failure.
ErrorMessage rosterBatchSummary(bool import, int written, int total, bool cancelled,
                                const QStringList& failures);

}  // namespace ui
