#include "ui/error_messages.h"

#include <QDir>

#include "ui/application_title.h"
#include "ui/command_failure.h"
#include "ui/user_text.h"

namespace {

using Kind = ArchiveError::Kind;

// Which commands a row speaks for: Import and Export tell of the same faults
// in the same words.
enum class Scope { Load, Save, Image };

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
    {Scope::Load, Kind::SizeMismatch, "File size is too big.", "Invalid File"},
    {Scope::Load, Kind::NotPortrait, "Not a portrait!! :)", "Error", Fill::Nothing,
     Pointer::ResetAfter},
    {Scope::Load, Kind::UnknownHeaderLength, "Unknown Format", "Error", Fill::Nothing,
     Pointer::ResetAfter},
    {Scope::Load, Kind::UnknownMarker, "Unknown Format", "Error"},

    {Scope::Save, Kind::SizeMismatch, "its size field does not match its length", "Invalid File",
     Fill::NoLongerValid},
    {Scope::Save, Kind::NotPortrait, "its header is not that of a portrait archive", "Invalid File",
     Fill::NoLongerValid},
    {Scope::Save, Kind::UnknownHeaderLength, "its header is not that of a portrait archive",
     "Invalid File", Fill::NoLongerValid},
    {Scope::Save, Kind::UnknownMarker, "its kind marker is unknown", "Invalid File",
     Fill::NoLongerValid},
    {Scope::Save, Kind::OutsideFile, "its directory points outside the file", "Invalid File",
     Fill::NoLongerValid},
    {Scope::Save, Kind::NotRegularFile, "%1 is %2, not a regular file. Nothing was saved.", "Error",
     Fill::FileAndType},
    {Scope::Save, Kind::KindChanged,
     "The current archive %1 changed on disk since it was loaded; load it again. Nothing was "
     "saved.",
     "Error", Fill::CurrentArchive},
    {Scope::Save, Kind::IdentifierMissing, "unknown file type", "Error"},
    {Scope::Save, Kind::IdentifierControl,
     "The identifier holds the control character %1, which cannot be saved.", "Error",
     Fill::CodePoint},
    {Scope::Save, Kind::NameTableOutside,
     "its name table would reach outside the file or over the archive's directory", "Invalid File",
     Fill::CannotWriteInto},
    {Scope::Save, Kind::WouldOverwriteLoadBytes,
     "it would overwrite the bytes that tell the archive's kind or where its name table ends",
     "Invalid File", Fill::CannotWriteInto},
    {Scope::Save, Kind::IdentifierLength, "Only 7 characters are allowed. No more no less",
     "Error"},
    {Scope::Save, Kind::IdentifierNotLatin1,
     "\"%1\" cannot be saved: the archive stores each character of the identifier in one byte, "
     "so only Latin-1 letters, digits and signs are allowed.",
     "Error", Fill::TypedIdentifier},

    {Scope::Image, Kind::SizeMismatch, "This is not a valid file format.", "Invalid File"},
    {Scope::Image, Kind::NotRegularFile,
     "%1 is %2, not a regular file. Nothing was read or written.", "Error", Fill::FileAndType},
    {Scope::Image, Kind::EmptyImageFile, "The FSH file is empty.", "Invalid File"},
    {Scope::Image, Kind::NoImageSignature, "This is not an FSH image: it does not start with SHPI.",
     "Invalid File"},
    {Scope::Image, Kind::NotAnImage,
     "This is not an FSH image: its length field does not match the file's size.", "Invalid File"},
    {Scope::Image, Kind::ImageIsArchive,
     "This file is the current archive itself, not an FSH image. Nothing was imported.", "Error"},
    {Scope::Image, Kind::TargetIsArchive,
     "This file is the current archive itself: the portrait would replace the whole archive. "
     "Choose another file. Nothing was exported.",
     "Error"},
    {Scope::Image, Kind::NoImageLength,
     "The portrait image in this archive has no valid length: its length field says %1, less "
     "than the 8 bytes of the image's own header.",
     "Invalid File", Fill::Number},
    {Scope::Image, Kind::ImagePastEnd,
     "The portrait image in this archive reaches past the end of the file.", "Invalid File"},
    {Scope::Image, Kind::ImageOverDirectory,
     "The portrait image in this archive overlaps its directory.", "Invalid File"},
    {Scope::Image, Kind::ImageLengthDiffers,
     "This image differs in length from the archive's portrait, and other members follow the "
     "portrait: only an image of the same length can be imported.",
     "Error"},
    {Scope::Image, Kind::ImageOverLoadBytes,
     "The archive's members overlap, and this image would overwrite the bytes that tell the "
     "archive's kind, where its name table ends or its identifier. Nothing was imported.",
     "Error"},
};

constexpr Row LoadFailure{Scope::Load, Kind::SystemError, "Unable to decode binary file.", "Error"};

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
QString failureDescription(const ArchiveError& error) {
  const QString path = isolatedUserText(QDir::toNativeSeparators(error.path));
  switch (error.kind) {
    case Kind::FolderNotWritable:
      return QStringLiteral("The folder %1 is not writable: %2").arg(path, error.detail);
    case Kind::FileNotWritable:
      return QStringLiteral("%1 is not writable: %2").arg(path, error.detail);
    default:
      return error.detail;
  }
}

}  // namespace

ErrorMessage errorMessage(FileCommandName command, const ArchiveError& error,
                          const QString& fileName, const QString& typedIdentifier) {
  const Row* row = findRow(scopeOf(command), error.kind);
  if (!row && error.isRuntimeFailure())
    return {formatCommandFailure({error.number, failureDescription(error)}), applicationTitle(),
            MessageStyle::Critical};
  // A fault no row tells of for this command: the plain words for it.
  if (!row) return {describe(error), QStringLiteral("Error")};

  QString text = QString::fromUtf8(row->text);
  switch (row->fill) {
    case Fill::Nothing:
      break;
    case Fill::NoLongerValid:
      text = QStringLiteral(
                 "The current archive %1 is no longer a valid portrait archive: %2. Nothing was "
                 "saved.")
                 .arg(isolatedUserText(fileName), text);
      break;
    case Fill::CannotWriteInto:
      text = QStringLiteral("The identifier cannot be written into %1: %2. Nothing was saved.")
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
                      fileTypeName(static_cast<unsigned>(error.number)));
      break;
    case Fill::Number:
      text = text.arg(error.number);
      break;
    case Fill::CodePoint:
      text = text.arg(codePointName(error.number));
      break;
  }
  return {text, QString::fromUtf8(row->caption), MessageStyle::Plain,
          row->pointer == Pointer::ResetAfter};
}
