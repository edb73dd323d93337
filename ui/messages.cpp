#include "ui/messages.h"

#include <QCoreApplication>
#include <QDir>

#include "portrait/portrait_preview.h"
#include "ui/application_title.h"
#include "ui/editor_window.h"
#include "ui/user_text.h"

namespace ui {

QString formatCommandFailure(const CommandFailure& failure) {
  return QCoreApplication::translate("Messages", "ERROR: ") + failure.description +
         QCoreApplication::translate("Messages", ". [Error #") + QString::number(failure.number) +
         QStringLiteral("]");
}

void reportCommandFailure(EditorWindow& window, const CommandFailure& failure) {
  window.showMessage(formatCommandFailure(failure), applicationTitle(), MessageStyle::Critical);
}

namespace {

using Kind = archive::ArchiveError::Kind;

// Which commands a row speaks for: Import and Export tell of the same faults
// in the same words.
// Reason: the plain words for a refusal, where a command has no row of its
// own (an archive that changed on disk since it was loaded) and in the
// portrait window.
enum class Scope { Load, Save, Image, Reason };

// How the row's text is shown: as it stands, as the reason why the current
// archive cannot be saved (named by its file name), or with %1 (and %2) in it
// filled from the error or the window. Every text from the user or the disk
// is shown isolated and shortened (isolatedUserText).
enum class Fill {
  Nothing,
  NoLongerValid,
  CannotWriteInto,
  TypedIdentifier,  // %1: the typed identifier
  CurrentArchive,   // %1: the current archive's file name
  FileAndType,      // %1: the error's path, %2: what kind of file is there
  Number,           // %1: the error's number
  CodePoint,        // %1: the error's number as a character code, U+0009
  PathAndDetail,    // %1: the error's path, %2: the system's words
};

enum class Pointer { ResetBefore, ResetAfter };

struct Row {
  Scope scope;
  Kind kind;
  const char* text;
  const char* caption;
  Fill fill = Fill::Nothing;
  Pointer pointer = Pointer::ResetBefore;
};

// Every refusal the window shows, by command and error kind. Runtime failures
// (Kind::PositionBeforeStart and the kinds after it) are the critical report
// "ERROR: <description>. [Error #<number>]" with the application title as
// caption, except in Load, which tells of every failure it has no row for as
// "Unable to decode binary file.".
constexpr Row Rows[] = {
    {Scope::Load, Kind::SizeMismatch, QT_TRANSLATE_NOOP("Messages", "File size is too big."),
     QT_TRANSLATE_NOOP("Messages", "Invalid File")},
    {Scope::Load, Kind::NotPortrait, QT_TRANSLATE_NOOP("Messages", "Not a portrait!! :)"),
     QT_TRANSLATE_NOOP("Messages", "Error"), Fill::Nothing, Pointer::ResetAfter},
    {Scope::Load, Kind::UnknownHeaderLength, QT_TRANSLATE_NOOP("Messages", "Unknown Format"),
     QT_TRANSLATE_NOOP("Messages", "Error"), Fill::Nothing, Pointer::ResetAfter},
    {Scope::Load, Kind::UnknownMarker, QT_TRANSLATE_NOOP("Messages", "Unknown Format"),
     QT_TRANSLATE_NOOP("Messages", "Error")},

    {Scope::Save, Kind::SizeMismatch,
     QT_TRANSLATE_NOOP("Messages", "its size field does not match its length"),
     QT_TRANSLATE_NOOP("Messages", "Invalid File"), Fill::NoLongerValid},
    {Scope::Save, Kind::NotPortrait,
     QT_TRANSLATE_NOOP("Messages", "its header is not that of a portrait archive"),
     QT_TRANSLATE_NOOP("Messages", "Invalid File"), Fill::NoLongerValid},
    {Scope::Save, Kind::UnknownHeaderLength,
     QT_TRANSLATE_NOOP("Messages", "its header is not that of a portrait archive"),
     QT_TRANSLATE_NOOP("Messages", "Invalid File"), Fill::NoLongerValid},
    {Scope::Save, Kind::UnknownMarker, QT_TRANSLATE_NOOP("Messages", "its kind marker is unknown"),
     QT_TRANSLATE_NOOP("Messages", "Invalid File"), Fill::NoLongerValid},
    {Scope::Save, Kind::OutsideFile,
     QT_TRANSLATE_NOOP("Messages", "its directory points outside the file"),
     QT_TRANSLATE_NOOP("Messages", "Invalid File"), Fill::NoLongerValid},
    {Scope::Save, Kind::NotRegularFile,
     QT_TRANSLATE_NOOP("Messages", "%1 is %2, not a regular file. Nothing was saved."),
     QT_TRANSLATE_NOOP("Messages", "Error"), Fill::FileAndType},
    {Scope::Save, Kind::KindChanged,
     QT_TRANSLATE_NOOP(
         "Messages",
         "The current archive %1 changed on disk since it was loaded; load it again. Nothing was "
         "saved."),
     QT_TRANSLATE_NOOP("Messages", "Error"), Fill::CurrentArchive},
    {Scope::Save, Kind::IdentifierMissing, QT_TRANSLATE_NOOP("Messages", "unknown file type"),
     QT_TRANSLATE_NOOP("Messages", "Error")},
    {Scope::Save, Kind::IdentifierControl,
     QT_TRANSLATE_NOOP("Messages",
                       "The identifier holds the control character %1, which cannot be saved."),
     QT_TRANSLATE_NOOP("Messages", "Error"), Fill::CodePoint},
    {Scope::Save, Kind::NameTableOutside,
     QT_TRANSLATE_NOOP(
         "Messages", "its name table would reach outside the file or over the archive's directory"),
     QT_TRANSLATE_NOOP("Messages", "Invalid File"), Fill::CannotWriteInto},
    {Scope::Save, Kind::WouldOverwriteLoadBytes,
     QT_TRANSLATE_NOOP(
         "Messages",
         "it would overwrite the bytes that tell the archive's kind or where its name table ends"),
     QT_TRANSLATE_NOOP("Messages", "Invalid File"), Fill::CannotWriteInto},
    {Scope::Save, Kind::IdentifierLength,
     QT_TRANSLATE_NOOP("Messages", "Only 7 characters are allowed. No more no less"),
     QT_TRANSLATE_NOOP("Messages", "Error")},
    {Scope::Save, Kind::IdentifierNotLatin1,
     QT_TRANSLATE_NOOP(
         "Messages",
         "\"%1\" cannot be saved: the archive stores each character of the identifier in one byte, "
         "so only Latin-1 letters, digits and signs are allowed."),
     QT_TRANSLATE_NOOP("Messages", "Error"), Fill::TypedIdentifier},

    {Scope::Image, Kind::SizeMismatch,
     QT_TRANSLATE_NOOP("Messages", "This is not a valid file format."),
     QT_TRANSLATE_NOOP("Messages", "Invalid File")},
    {Scope::Image, Kind::NotRegularFile,
     QT_TRANSLATE_NOOP("Messages", "%1 is %2, not a regular file. Nothing was read or written."),
     QT_TRANSLATE_NOOP("Messages", "Error"), Fill::FileAndType},
    {Scope::Image, Kind::EmptyImageFile, QT_TRANSLATE_NOOP("Messages", "The FSH file is empty."),
     QT_TRANSLATE_NOOP("Messages", "Invalid File")},
    {Scope::Image, Kind::NoImageSignature,
     QT_TRANSLATE_NOOP("Messages", "This is not an FSH image: it does not start with SHPI."),
     QT_TRANSLATE_NOOP("Messages", "Invalid File")},
    {Scope::Image, Kind::NotAnImage,
     QT_TRANSLATE_NOOP(
         "Messages", "This is not an FSH image: its length field does not match the file's size."),
     QT_TRANSLATE_NOOP("Messages", "Invalid File")},
    {Scope::Image, Kind::ImageIsArchive,
     QT_TRANSLATE_NOOP(
         "Messages",
         "This file is the current archive itself, not an FSH image. Nothing was imported."),
     QT_TRANSLATE_NOOP("Messages", "Error")},
    {Scope::Image, Kind::TargetIsArchive,
     QT_TRANSLATE_NOOP(
         "Messages",
         "This file is the current archive itself: the portrait would replace the whole archive. "
         "Choose another file. Nothing was exported."),
     QT_TRANSLATE_NOOP("Messages", "Error")},
    {Scope::Image, Kind::NoImageLength,
     QT_TRANSLATE_NOOP(
         "Messages",
         "The portrait image in this archive has no valid length: its length field says %1, less "
         "than the 8 bytes of the image's own header."),
     QT_TRANSLATE_NOOP("Messages", "Invalid File"), Fill::Number},
    {Scope::Image, Kind::ImagePastEnd,
     QT_TRANSLATE_NOOP("Messages",
                       "The portrait image in this archive reaches past the end of the file."),
     QT_TRANSLATE_NOOP("Messages", "Invalid File")},
    {Scope::Image, Kind::ImageOverDirectory,
     QT_TRANSLATE_NOOP("Messages", "The portrait image in this archive overlaps its directory."),
     QT_TRANSLATE_NOOP("Messages", "Invalid File")},
    {Scope::Image, Kind::ImageLengthDiffers,
     QT_TRANSLATE_NOOP(
         "Messages",
         "This image differs in length from the archive's portrait, and other members follow the "
         "portrait: only an image of the same length can be imported."),
     QT_TRANSLATE_NOOP("Messages", "Error")},
    {Scope::Image, Kind::ImageOverLoadBytes,
     QT_TRANSLATE_NOOP(
         "Messages",
         "The archive's members overlap, and this image would overwrite the bytes that tell the "
         "archive's kind, where its name table ends or its identifier. Nothing was imported."),
     QT_TRANSLATE_NOOP("Messages", "Error")},
    {Scope::Reason, Kind::SizeMismatch,
     QT_TRANSLATE_NOOP("Messages", "its size field does not match its length"), ""},
    {Scope::Reason, Kind::NotPortrait,
     QT_TRANSLATE_NOOP("Messages", "its header is not that of a portrait archive"), ""},
    {Scope::Reason, Kind::UnknownHeaderLength,
     QT_TRANSLATE_NOOP("Messages", "its header length is unknown"), ""},
    {Scope::Reason, Kind::UnknownMarker,
     QT_TRANSLATE_NOOP("Messages", "its kind marker is unknown"), ""},
    {Scope::Reason, Kind::OutsideFile,
     QT_TRANSLATE_NOOP("Messages", "its directory points outside the file"), ""},
    {Scope::Reason, Kind::NotRegularFile,
     QT_TRANSLATE_NOOP("Messages", "%1 is %2, not a regular file"), "", Fill::FileAndType},
    {Scope::Reason, Kind::KindChanged,
     QT_TRANSLATE_NOOP("Messages",
                       "the archive changed on disk since it was loaded; load it again"),
     ""},
    {Scope::Reason, Kind::IdentifierMissing,
     QT_TRANSLATE_NOOP("Messages", "no identifier was given"), ""},
    {Scope::Reason, Kind::IdentifierControl,
     QT_TRANSLATE_NOOP("Messages", "the identifier holds the control character %1"), "",
     Fill::CodePoint},
    {Scope::Reason, Kind::IdentifierLength,
     QT_TRANSLATE_NOOP("Messages", "the identifier must be exactly 7 characters long"), ""},
    {Scope::Reason, Kind::IdentifierNotLatin1,
     QT_TRANSLATE_NOOP("Messages",
                       "the archive stores each character of the identifier in one byte, so only "
                       "Latin-1 letters, "
                       "digits and signs are allowed"),
     ""},
    {Scope::Reason, Kind::NameTableOutside,
     QT_TRANSLATE_NOOP(
         "Messages", "its name table would reach outside the file or over the archive's directory"),
     ""},
    {Scope::Reason, Kind::WouldOverwriteLoadBytes,
     QT_TRANSLATE_NOOP(
         "Messages",
         "the identifier would overwrite the bytes that tell the archive's kind or where its name "
         "table ends"),
     ""},
    {Scope::Reason, Kind::EmptyImageFile, QT_TRANSLATE_NOOP("Messages", "the FSH file is empty"),
     ""},
    {Scope::Reason, Kind::NoImageSignature,
     QT_TRANSLATE_NOOP("Messages", "this is not an FSH image: it does not start with SHPI"), ""},
    {Scope::Reason, Kind::NotAnImage,
     QT_TRANSLATE_NOOP("Messages",
                       "this is not an FSH image: its length field does not match the file's size"),
     ""},
    {Scope::Reason, Kind::ImageIsArchive,
     QT_TRANSLATE_NOOP("Messages", "the image file is the archive itself"), ""},
    {Scope::Reason, Kind::TargetIsArchive,
     QT_TRANSLATE_NOOP("Messages", "the target is the archive itself"), ""},
    {Scope::Reason, Kind::NoImageLength,
     QT_TRANSLATE_NOOP(
         "Messages",
         "the portrait image in this archive has no valid length: its length field says %1, less "
         "than the 8 bytes of its own header"),
     "", Fill::Number},
    {Scope::Reason, Kind::ImagePastEnd,
     QT_TRANSLATE_NOOP("Messages",
                       "the portrait image in this archive reaches past the end of the file"),
     ""},
    {Scope::Reason, Kind::ImageOverDirectory,
     QT_TRANSLATE_NOOP("Messages", "the portrait image in this archive overlaps its directory"),
     ""},
    {Scope::Reason, Kind::ImageLengthDiffers,
     QT_TRANSLATE_NOOP(
         "Messages",
         "the image differs in length from the archive's portrait, and other members follow it"),
     ""},
    {Scope::Reason, Kind::ImageOverLoadBytes,
     QT_TRANSLATE_NOOP(
         "Messages",
         "the archive's members overlap, and the image would change the bytes that tell the "
         "archive's kind, where its name table ends or its identifier"),
     ""},
    {Scope::Reason, Kind::FolderNotWritable,
     QT_TRANSLATE_NOOP("Messages", "the folder %1 is not writable: %2"), "", Fill::PathAndDetail},
    {Scope::Reason, Kind::FileNotWritable, QT_TRANSLATE_NOOP("Messages", "%1 is not writable: %2"),
     "", Fill::PathAndDetail},
};

constexpr Row LoadFailure{Scope::Load, Kind::SystemError,
                          QT_TRANSLATE_NOOP("Messages", "Unable to decode binary file."),
                          QT_TRANSLATE_NOOP("Messages", "Error")};

Scope scopeOf(FileCommandName command) {
  switch (command) {
    case FileCommandName::Load:
      return Scope::Load;
    case FileCommandName::Save:
      return Scope::Save;
    case FileCommandName::Import:
    case FileCommandName::Export:
      break;
  }
  return Scope::Image;
}

const Row* findRow(Scope scope, Kind kind) {
  for (const Row& row : Rows)
    if (row.scope == scope && row.kind == kind) return &row;
  return scope == Scope::Load ? &LoadFailure : nullptr;
}

// What a runtime failure says: the system's words, and for a file or folder
// that may not be written, which one.
QString failureDescription(const archive::ArchiveError& error) {
  const QString path = isolatedUserText(QDir::toNativeSeparators(error.path));
  switch (error.kind) {
    case Kind::FolderNotWritable:
      return QCoreApplication::translate("Messages", "The folder %1 is not writable: %2")
          .arg(path, error.detail);
    case Kind::FileNotWritable:
      return QCoreApplication::translate("Messages", "%1 is not writable: %2")
          .arg(path, error.detail);
    default:
      return error.detail;
  }
}

// A row's text, filled from the error or the window.
QString rowTextOf(const Row& row, const archive::ArchiveError& error, const QString& fileName,
                  const QString& typedIdentifier) {
  QString text = QCoreApplication::translate("Messages", row.text);
  switch (row.fill) {
    case Fill::Nothing:
      break;
    case Fill::NoLongerValid:
      text = QStringLiteral(
                 "The current archive %1 is no longer a valid portrait archive: %2. Nothing was "
                 "saved.")
                 .arg(isolatedUserText(fileName), text);
      break;
    case Fill::CannotWriteInto:
      text = QCoreApplication::translate(
                 "Messages", "The identifier cannot be written into %1: %2. Nothing was saved.")
                 .arg(isolatedUserText(fileName), text);
      break;
    case Fill::TypedIdentifier:
      text = text.arg(isolatedUserText(typedIdentifier));
      break;
    case Fill::CurrentArchive:
      text = text.arg(isolatedUserText(fileName));
      break;
    case Fill::FileAndType:
      text = text.arg(isolatedUserText(QDir::toNativeSeparators(error.path)),
                      archive::fileTypeName(static_cast<unsigned>(error.number)));
      break;
    case Fill::Number:
      text = text.arg(error.number);
      break;
    case Fill::CodePoint:
      text = text.arg(archive::codePointName(error.number));
      break;
    case Fill::PathAndDetail:
      text = text.arg(isolatedUserText(QDir::toNativeSeparators(error.path)), error.detail);
      break;
  }
  return text;
}

}  // namespace

QString reasonText(const archive::ArchiveError& error) {
  const Row* row = findRow(Scope::Reason, error.kind);
  return row ? rowTextOf(*row, error, {}, {}) : error.detail;
}

ErrorMessage errorMessage(FileCommandName command, const archive::ArchiveError& error,
                          const QString& fileName, const QString& typedIdentifier) {
  const Row* row = findRow(scopeOf(command), error.kind);
  if (!row && error.isRuntimeFailure())
    return {formatCommandFailure({error.number, failureDescription(error)}), applicationTitle(),
            MessageStyle::Critical};
  // A fault no row tells of for this command: the plain words for it.
  if (!row) return {reasonText(error), QCoreApplication::translate("Messages", "Error")};

  return {rowTextOf(*row, error, fileName, typedIdentifier),
          QCoreApplication::translate("Messages", row->caption), MessageStyle::Plain,
          row->pointer == Pointer::ResetAfter};
}

namespace {

// Captions, translated when a message is made (translators are installed after start).
QString invalidFile() { return QCoreApplication::translate("Messages", "Invalid File"); }

// Why a picture file could not be read or written, in words that follow
// "cannot be read: " or "cannot be written: ", by problem; what fills each
// row's places from the error's values.
enum class PictureFill { Nothing, Mebibytes, SizeAndMillions, FormatName };

struct PictureRow {
  portrait::Error::PictureProblem problem;
  const char* text;
  PictureFill fill = PictureFill::Nothing;
};

constexpr PictureRow PictureRows[] = {
    {portrait::Error::PictureProblem::FileTooLarge,
     QT_TRANSLATE_NOOP("Messages", "the file is larger than %1 MiB"), PictureFill::Mebibytes},
    {portrait::Error::PictureProblem::TooManyPixels,
     QT_TRANSLATE_NOOP("Messages",
                       "it is %1 x %2 pixels, more than the %3 million a picture may have"),
     PictureFill::SizeAndMillions},
    {portrait::Error::PictureProblem::NotAPicture,
     QT_TRANSLATE_NOOP("Messages",
                       "it is neither an FSH image nor a picture in a format the editor reads")},
    {portrait::Error::PictureProblem::VectorFormat,
     QT_TRANSLATE_NOOP("Messages",
                       "%1 pictures cannot be imported; use a raster format such as PNG"),
     PictureFill::FormatName},
    {portrait::Error::PictureProblem::CutShort,
     QT_TRANSLATE_NOOP("Messages", "the file ends before the picture's pixels do")},
    {portrait::Error::PictureProblem::Empty, QT_TRANSLATE_NOOP("Messages", "the picture is empty")},
    {portrait::Error::PictureProblem::CropOutside,
     QT_TRANSLATE_NOOP("Messages", "the crop is not wholly inside the picture")},
};

QString pictureReason(const portrait::Error& error) {
  for (const PictureRow& row : PictureRows) {
    if (row.problem != error.pictureProblem) continue;
    QString text = QCoreApplication::translate("Messages", row.text);
    if (row.fill == PictureFill::Mebibytes) return text.arg(error.limit >> 20);
    if (row.fill == PictureFill::SizeAndMillions)
      return text.arg(error.size.width()).arg(error.size.height()).arg(error.limit / 1000000);
    if (row.fill == PictureFill::FormatName)
      return text.arg(QString::fromLatin1(error.format).toUpper());
    return text;
  }
  // Qt's own words, for a picture it could not read or write.
  return error.qtReason;
}
QString errorCaption() { return QCoreApplication::translate("Messages", "Error"); }

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
      return {codecProblem(QCoreApplication::translate("Messages", "FSH file %1")
                               .arg(isolatedUserText(fileName)),
                           error.codecError),
              invalidFile()};
    }
    return {QCoreApplication::translate("Messages", "The picture %1 cannot be read: %2.")
                .arg(isolatedUserText(fileName), pictureReason(error)),
            invalidFile()};
  });
}

ErrorMessage clipboardPictureMessage(const portrait::Error& error) {
  QString reason = pictureReason(error);
  // Qt decodes a pasted picture itself and gives no reason when it refuses one.
  if (reason.isEmpty())
    reason = QCoreApplication::translate(
        "Messages", "it could not be decoded, perhaps because it is too large");
  return {
      QCoreApplication::translate("Messages", "The picture on the clipboard cannot be read: %1.")
          .arg(reason),
      errorCaption()};
}

ErrorMessage portraitNotReplaceableMessage(const fsh::Error& error) {
  return {
      QCoreApplication::translate("Messages", "The picture cannot be imported. ") +
          codecProblem(QCoreApplication::translate("Messages", "portrait in this archive"), error),
      errorCaption()};
}

ErrorMessage pictureEncodingMessage(const fsh::Error& error) {
  return {QCoreApplication::translate("Messages", "The picture cannot be imported: %1.")
              .arg(error.message),
          errorCaption()};
}

ErrorMessage pictureExportMessage(const QString& fileName, const portrait::Error& error) {
  return messageFor(FileCommandName::Export, error, [&]() -> ErrorMessage {
    if (error.source == portrait::Error::Source::Codec) {
      return {
          QCoreApplication::translate("Messages", "The portrait cannot be written as a picture. ") +
              codecProblem(QStringLiteral("portrait"), error.codecError),
          errorCaption()};
    }
    return {QCoreApplication::translate("Messages", "The picture %1 cannot be written: %2.")
                .arg(isolatedUserText(fileName), pictureReason(error)),
            errorCaption()};
  });
}

QString codecProblem(const QString& subject, const fsh::Error& error) {
  const QString The = QCoreApplication::translate("Messages", "The ") + subject;
  switch (error.kind) {
    case fsh::ErrorKind::NotFsh:
      return The + QCoreApplication::translate("Messages", " is not an FSH image.");
    case fsh::ErrorKind::Malformed:
      return The + QCoreApplication::translate("Messages", " is damaged (%1).").arg(error.message);
    case fsh::ErrorKind::TooLarge:
      return The +
             QCoreApplication::translate("Messages", " is larger than the editor can handle (%1).")
                 .arg(error.message);
    case fsh::ErrorKind::Unsupported:
      return The + QCoreApplication::translate(
                       "Messages", " uses a pixel format the editor does not know (%1).")
                       .arg(error.message);
    case fsh::ErrorKind::InvalidRequest:
    case fsh::ErrorKind::Stopped:
      break;
  }
  return The + QCoreApplication::translate("Messages", " cannot be used: %1.").arg(error.message);
}

QString previewProblemText(const portrait::Error& error) {
  if (error.source == portrait::Error::Source::Codec)
    return codecProblem(QStringLiteral("portrait"), error.codecError);
  return QCoreApplication::translate("Messages", "The portrait cannot be read: %1.")
      .arg(reasonText(error.archiveError));
}

namespace {
QString editPictureCaption() { return QCoreApplication::translate("Messages", "Edit picture"); }
}  // namespace

ErrorMessage pictureEditingMessage(const portrait::Error& error) {
  QString reason;
  switch (error.source) {
    case portrait::Error::Source::Archive:
      reason = reasonText(error.archiveError);
      break;
    case portrait::Error::Source::Codec:
      reason = codecProblem(QStringLiteral("portrait"), error.codecError);
      break;
    case portrait::Error::Source::Picture:
      reason = pictureReason(error);
      break;
  }
  return {QCoreApplication::translate("Messages", "The portrait cannot be opened for editing: %1")
              .arg(reason),
          editPictureCaption()};
}

ErrorMessage noPictureEditorMessage() {
  return {QCoreApplication::translate("Messages",
                                      "This desktop has no program set up to edit PNG pictures. "
                                      "Choose the program to edit the portrait with."),
          editPictureCaption()};
}

ErrorMessage pictureEditorNotStartedMessage(const QString& program) {
  return {QCoreApplication::translate(
              "Messages", "%1 could not be started. Choose the program to edit the portrait with.")
              .arg(isolatedUserText(QDir::toNativeSeparators(program))),
          editPictureCaption()};
}

ErrorMessage undoChangedSinceMessage(const QString& fileName) {
  return {QCoreApplication::translate(
              "Messages",
              "%1 changed on disk after the last import, so the portrait that import replaced "
              "cannot be put back. Nothing was written.")
              .arg(isolatedUserText(fileName)),
          QCoreApplication::translate("Messages", "Undo")};
}

QString replacePortraitQuestion(const QString& archiveName, const QString& imageName) {
  return QCoreApplication::translate("Messages", "Replace the portrait in %1 with %2?")
      .arg(isolatedUserText(archiveName), isolatedUserText(imageName));
}

QString rosterFailureText(const QString& fileName, const portrait::Error& error) {
  const QString file = isolatedUserText(fileName);
  switch (error.source) {
    case portrait::Error::Source::Archive:
      return QCoreApplication::translate("Messages", "%1: %2")
          .arg(file, reasonText(error.archiveError));
    case portrait::Error::Source::Codec:
      return QCoreApplication::translate("Messages", "%1: %2")
          .arg(file,
               codecProblem(QCoreApplication::translate("Messages", "image"), error.codecError));
    case portrait::Error::Source::Picture:
      break;
  }
  return QCoreApplication::translate("Messages", "%1: %2.").arg(file, pictureReason(error));
}

ErrorMessage rosterBatchSummary(bool import, int written, int total, bool cancelled,
                                const QStringList& failures) {
  QString text = import ? QCoreApplication::translate("Messages", "%1 of %2 portraits imported.")
                        : QCoreApplication::translate("Messages", "%1 of %2 portraits exported.");
  text = text.arg(written).arg(total);
  if (cancelled)
    text += QLatin1Char(' ') +
            QCoreApplication::translate("Messages", "Cancelled: the others were not written.");
  if (!failures.isEmpty()) {
    text +=
        QLatin1String("\n\n") +
        (failures.size() == 1
             ? QCoreApplication::translate("Messages", "1 file failed and was left untouched:")
             : QCoreApplication::translate("Messages", "%1 files failed and were left untouched:")
                   .arg(failures.size()));
    for (const QString& failure : failures) text += QLatin1Char('\n') + failure;
  }
  return {text,
          import ? QCoreApplication::translate("Messages", "Import pictures")
                 : QCoreApplication::translate("Messages", "Export pictures"),
          MessageStyle::Plain};
}

}  // namespace ui
