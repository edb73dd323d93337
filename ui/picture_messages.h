#pragma once

#include <QString>

#include "fsh/fsh_error.h"
#include "portrait/portrait_error.h"
#include "ui/error_messages.h"

// What the window says about pictures and compressed images going into the
// portrait or out of it. An archive's own refusals keep the words of the
// Import and Export messages (errorMessage).

// A file offered for import that cannot be taken in; fileName names it.
ErrorMessage importFileMessage(const QString& fileName, const portrait::Error& error);

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

// The question before a dropped file replaces the portrait.
QString replacePortraitQuestion(const QString& archiveName, const QString& imageName);
