#include "ui/picture_messages.h"

#include "portrait/portrait_preview.h"
#include "ui/user_text.h"

namespace {

const QString InvalidFile = QStringLiteral("Invalid File");

// Why a picture file could not be read or written, in words that follow
// "cannot be read: " or "cannot be written: ".
QString pictureReason(const portrait::Error& error) {
  using Problem = portrait::Error::PictureProblem;
  switch (error.pictureProblem) {
    case Problem::FileTooLarge:
      return QStringLiteral("the file is larger than %1 MiB").arg(error.limit >> 20);
    case Problem::TooManyPixels:
      return QStringLiteral("it is %1 x %2 pixels, more than the %3 million a picture may have")
          .arg(error.size.width())
          .arg(error.size.height())
          .arg(error.limit / 1000000);
    case Problem::NotAPicture:
      return QStringLiteral(
          "it is neither an FSH image nor a picture in a format the editor reads");
    case Problem::VectorFormat:
      return QStringLiteral("%1 pictures cannot be imported; use a raster format such as PNG")
          .arg(QString::fromLatin1(error.format).toUpper());
    case Problem::Empty:
      return QStringLiteral("the picture is empty");
    case Problem::CropOutside:
      return QStringLiteral("the crop is not wholly inside the picture");
    case Problem::Unreadable:
    case Problem::Unwritable:
      break;
  }
  return error.qtReason;
}
const QString ErrorCaption = QStringLiteral("Error");

// The archive's refusals are told as Import and Export tell them; the others
// by the given words.
template <typename Other>
ErrorMessage messageFor(FileCommandName command, const portrait::Error& error, Other other) {
  if (error.source == portrait::Error::Source::Archive)
    return errorMessage(command, error.archiveError);
  return other();
}

}  // namespace

ErrorMessage importFileMessage(const QString& fileName, const portrait::Error& error) {
  return messageFor(FileCommandName::Import, error, [&]() -> ErrorMessage {
    if (error.source == portrait::Error::Source::Codec) {
      return {codecProblem(QStringLiteral("FSH file %1").arg(isolatedUserText(fileName)),
                           error.codecError),
              InvalidFile};
    }
    return {QStringLiteral("The picture %1 cannot be read: %2.")
                .arg(isolatedUserText(fileName), pictureReason(error)),
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

ErrorMessage pictureExportMessage(const QString& fileName, const portrait::Error& error) {
  return messageFor(FileCommandName::Export, error, [&]() -> ErrorMessage {
    if (error.source == portrait::Error::Source::Codec) {
      return {QStringLiteral("The portrait cannot be written as a picture. ") +
                  codecProblem(QStringLiteral("portrait"), error.codecError),
              ErrorCaption};
    }
    return {QStringLiteral("The picture %1 cannot be written: %2.")
                .arg(isolatedUserText(fileName), pictureReason(error)),
            ErrorCaption};
  });
}

QString codecProblem(const QString& subject, const fsh::Error& error) {
  const QString The = QStringLiteral("The ") + subject;
  switch (error.kind) {
    case fsh::ErrorKind::NotFsh:
      return The + QStringLiteral(" is not an FSH image.");
    case fsh::ErrorKind::Malformed:
      return The + QStringLiteral(" is damaged (%1).").arg(error.message);
    case fsh::ErrorKind::TooLarge:
      return The + QStringLiteral(" is larger than the editor can handle (%1).").arg(error.message);
    case fsh::ErrorKind::Unsupported:
      return The + QStringLiteral(" uses a pixel format the editor does not know (%1).")
                       .arg(error.message);
    case fsh::ErrorKind::InvalidRequest:
      break;
  }
  return The + QStringLiteral(" cannot be used: %1.").arg(error.message);
}

QString previewProblemText(const portrait::Error& error) {
  if (error.source == portrait::Error::Source::Codec)
    return codecProblem(QStringLiteral("portrait"), error.codecError);
  return QStringLiteral("The portrait cannot be read: %1.").arg(describe(error.archiveError));
}

QString replacePortraitQuestion(const QString& archiveName, const QString& imageName) {
  return QStringLiteral("Replace the portrait in %1 with %2?")
      .arg(isolatedUserText(archiveName), isolatedUserText(imageName));
}
