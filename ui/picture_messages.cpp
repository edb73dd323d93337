#include "ui/picture_messages.h"

#include "ui/portrait_preview.h"

namespace {

const QString InvalidFile = QStringLiteral("Invalid File");
const QString ErrorCaption = QStringLiteral("Error");

// The archive's refusals are told as Import and Export tell them; the others
// by the given words.
template <typename Other>
ErrorMessage messageFor(FileCommandName command, const PictureError& error, Other other) {
  if (const auto* archive = std::get_if<ArchiveError>(&error))
    return errorMessage(command, *archive);
  return other();
}

}  // namespace

ErrorMessage importFileMessage(const QString& fileName, const PictureError& error) {
  return messageFor(FileCommandName::Import, error, [&]() -> ErrorMessage {
    if (const auto* codec = std::get_if<fsh::Error>(&error))
      return {codecProblem(QStringLiteral("FSH file %1").arg(fileName), *codec), InvalidFile};
    return {QStringLiteral("The picture %1 cannot be read: %2.")
                .arg(fileName, std::get<PictureFileError>(error).reason),
            InvalidFile};
  });
}

ErrorMessage portraitNotReplaceableMessage(const fsh::Error& error) {
  return {QStringLiteral("The picture cannot be imported. ") +
              codecProblem(QStringLiteral("portrait in this archive"), error),
          ErrorCaption};
}

ErrorMessage pictureImportMessage(const PictureError& error) {
  return messageFor(FileCommandName::Import, error, [&]() -> ErrorMessage {
    const QString reason = std::holds_alternative<fsh::Error>(error)
                               ? std::get<fsh::Error>(error).message
                               : std::get<PictureFileError>(error).reason;
    return {QStringLiteral("The picture cannot be imported: %1.").arg(reason), ErrorCaption};
  });
}

ErrorMessage pictureExportMessage(const QString& fileName, const PictureError& error) {
  return messageFor(FileCommandName::Export, error, [&]() -> ErrorMessage {
    if (const auto* codec = std::get_if<fsh::Error>(&error)) {
      return {QStringLiteral("The portrait cannot be written as a picture. ") +
                  codecProblem(QStringLiteral("portrait"), *codec),
              ErrorCaption};
    }
    return {QStringLiteral("The picture %1 cannot be written: %2.")
                .arg(fileName, std::get<PictureFileError>(error).reason),
            ErrorCaption};
  });
}

QString replacePortraitQuestion(const QString& archiveName, const QString& imageName) {
  return QStringLiteral("Replace the portrait in %1 with %2?").arg(archiveName, imageName);
}
