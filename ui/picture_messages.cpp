#include "ui/picture_messages.h"

#include "ui/portrait_preview.h"
#include "ui/user_text.h"

namespace {

const QString InvalidFile = QStringLiteral("Invalid File");
const QString ErrorCaption = QStringLiteral("Error");

// The archive's refusals are told as Import and Export tell them; the others
// by the given words.
template <typename Other>
ErrorMessage messageFor(FileCommandName command, const PictureError& error, Other other) {
  if (error.source == PictureError::Source::Archive)
    return errorMessage(command, error.archiveError);
  return other();
}

}  // namespace

ErrorMessage importFileMessage(const QString& fileName, const PictureError& error) {
  return messageFor(FileCommandName::Import, error, [&]() -> ErrorMessage {
    if (error.source == PictureError::Source::Codec) {
      return {codecProblem(QStringLiteral("FSH file %1").arg(isolatedUserText(fileName)),
                           error.codecError),
              InvalidFile};
    }
    return {QStringLiteral("The picture %1 cannot be read: %2.")
                .arg(isolatedUserText(fileName), error.pictureFileReason),
            InvalidFile};
  });
}

ErrorMessage portraitNotReplaceableMessage(const fsh::Error& error) {
  return {QStringLiteral("The picture cannot be imported. ") +
              codecProblem(QStringLiteral("portrait in this archive"), error),
          ErrorCaption};
}

ErrorMessage pictureEncodingMessage(const fsh::Error& error) {
  return {QStringLiteral("The picture cannot be imported: %1.").arg(error.message), ErrorCaption};
}

ErrorMessage pictureExportMessage(const QString& fileName, const PictureError& error) {
  return messageFor(FileCommandName::Export, error, [&]() -> ErrorMessage {
    if (error.source == PictureError::Source::Codec) {
      return {QStringLiteral("The portrait cannot be written as a picture. ") +
                  codecProblem(QStringLiteral("portrait"), error.codecError),
              ErrorCaption};
    }
    return {QStringLiteral("The picture %1 cannot be written: %2.")
                .arg(isolatedUserText(fileName), error.pictureFileReason),
            ErrorCaption};
  });
}

QString replacePortraitQuestion(const QString& archiveName, const QString& imageName) {
  return QStringLiteral("Replace the portrait in %1 with %2?")
      .arg(isolatedUserText(archiveName), isolatedUserText(imageName));
}
