#include "ui/error_messages.h"

#include "ui/application_title.h"
#include "ui/command_failure.h"

namespace {

using Kind = ArchiveError::Kind;

// Which commands a row speaks for: Import and Export tell of the same faults
// in the same words.
enum class Scope { Load, Save, Image };

// How the row's text is shown: as it stands, as the reason why the current
// archive cannot be saved (named by its file name), or with the typed
// identifier in place of %1.
enum class Fill { Nothing, NoLongerValid, CannotWriteInto, TypedIdentifier };

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
// (Kind::PositionBeforeStart, PastEndOfFile, Overflow, SystemError) are the
// critical report "ERROR: <description>. [Error #<number>]" with the
// application title as caption, except in Load, which tells of every failure
// it has no row for as "Unable to decode binary file.".
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
    {Scope::Save, Kind::IdentifierMissing, "unknown file type", "Error"},
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
    {Scope::Image, Kind::EmptyImageFile, "The FSH file is empty.", "Invalid File"},
    {Scope::Image, Kind::NotAnImage,
     "This is not an FSH image: its length field does not match the file's size.", "Invalid File"},
    {Scope::Image, Kind::NoImageLength, "The portrait image in this archive has no valid length.",
     "Invalid File"},
    {Scope::Image, Kind::ImagePastEnd,
     "The portrait image in this archive reaches past the end of the file.", "Invalid File"},
    {Scope::Image, Kind::ImageOverDirectory,
     "The portrait image in this archive overlaps its directory.", "Invalid File"},
    {Scope::Image, Kind::ImageLengthDiffers,
     "This image differs in length from the archive's portrait, and other members follow the "
     "portrait: only an image of the same length can be imported.",
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

}  // namespace

ErrorMessage errorMessage(FileCommandName command, const ArchiveError& error,
                          const QString& fileName, const QString& typedIdentifier) {
  const Row* row = findRow(scopeOf(command), error.kind);
  if (!row && error.isRuntimeFailure())
    return {formatCommandFailure({error.number, error.detail}), applicationTitle(),
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
                 .arg(fileName, text);
      break;
    case Fill::CannotWriteInto:
      text = QStringLiteral("The identifier cannot be written into %1: %2. Nothing was saved.")
                 .arg(fileName, text);
      break;
    case Fill::TypedIdentifier:
      text = text.arg(typedIdentifier);
      break;
  }
  return {text, QString::fromUtf8(row->caption), MessageStyle::Plain,
          row->pointer == Pointer::ResetAfter};
}
