#include "cli/messages.h"

#include <QCoreApplication>

namespace cli {

QString describe(const archive::ArchiveError& error) {
  using Kind = archive::ArchiveError::Kind;
  switch (error.kind) {
    case Kind::SizeMismatch:
      return QCoreApplication::translate("cli", "its size field does not match its length");
    case Kind::NotPortrait:
      return QCoreApplication::translate("cli", "its header is not that of a portrait archive");
    case Kind::UnknownHeaderLength:
      return QCoreApplication::translate("cli", "its header length is unknown");
    case Kind::UnknownMarker:
      return QCoreApplication::translate("cli", "its kind marker is unknown");
    case Kind::OutsideFile:
      return QCoreApplication::translate("cli", "its directory points outside the file");
    case Kind::NotRegularFile:
      return QCoreApplication::translate("cli", "%1 is %2, not a regular file")
          .arg(error.path, archive::fileTypeName(static_cast<unsigned>(error.number)));
    case Kind::KindChanged:
      return QCoreApplication::translate(
          "cli", "the archive changed on disk since it was loaded; load it again");
    case Kind::IdentifierMissing:
      return QCoreApplication::translate("cli", "no identifier was given");
    case Kind::IdentifierControl:
      return QCoreApplication::translate("cli", "the identifier holds the control character %1")
          .arg(archive::codePointName(error.number));
    case Kind::IdentifierLength:
      return QCoreApplication::translate("cli", "the identifier must be exactly 7 characters long");
    case Kind::IdentifierNotLatin1:
      return QCoreApplication::translate(
          "cli",
          "the archive stores each character of the identifier in one byte, so only Latin-1 "
          "letters, digits and signs are allowed");
    case Kind::NameTableOutside:
      return QCoreApplication::translate(
          "cli", "its name table would reach outside the file or over the archive's directory");
    case Kind::WouldOverwriteLoadBytes:
      return QCoreApplication::translate(
          "cli",
          "the identifier would overwrite the bytes that tell the archive's kind or where its "
          "name table ends");
    case Kind::EmptyImageFile:
      return QCoreApplication::translate("cli", "the FSH file is empty");
    case Kind::NoImageSignature:
      return QCoreApplication::translate("cli",
                                         "this is not an FSH image: it does not start with SHPI");
    case Kind::NotAnImage:
      return QCoreApplication::translate(
          "cli", "this is not an FSH image: its length field does not match the file's size");
    case Kind::ImageIsArchive:
      return QCoreApplication::translate("cli", "the image file is the archive itself");
    case Kind::TargetIsArchive:
      return QCoreApplication::translate("cli", "the target is the archive itself");
    case Kind::NoImageLength:
      return QCoreApplication::translate(
                 "cli",
                 "the portrait image in this archive has no valid length: its length field "
                 "says %1, less than the 8 bytes of its own header")
          .arg(error.number);
    case Kind::ImagePastEnd:
      return QCoreApplication::translate(
          "cli", "the portrait image in this archive reaches past the end of the file");
    case Kind::ImageOverDirectory:
      return QCoreApplication::translate(
          "cli", "the portrait image in this archive overlaps its directory");
    case Kind::ImageLengthDiffers:
      return QCoreApplication::translate(
          "cli",
          "the image differs in length from the archive's portrait, and other members follow it");
    case Kind::ImageOverLoadBytes:
      return QCoreApplication::translate(
          "cli",
          "the archive's members overlap, and the image would change the bytes that tell the "
          "archive's kind, where its name table ends or its identifier");
    case Kind::FolderNotWritable:
      return QCoreApplication::translate("cli", "the folder %1 is not writable: %2")
          .arg(error.path, error.detail);
    case Kind::FileNotWritable:
      return QCoreApplication::translate("cli", "%1 is not writable: %2")
          .arg(error.path, error.detail);
    case Kind::PositionBeforeStart:
    case Kind::PastEndOfFile:
    case Kind::Overflow:
    case Kind::SystemError:
      break;
  }
  return error.detail;
}

}  // namespace cli
