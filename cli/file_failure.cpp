#include "cli/file_failure.h"

#include <QCoreApplication>

#include "cli/messages.h"

namespace cli {

FileFailure archiveFailure(const QString& otherwise, const archive::ArchiveError& error) {
  return {error.path.isEmpty() ? otherwise : error.path, describe(error)};
}

FileFailure portraitFailure(const QString& file, const fsh::Error& error) {
  return {file, QCoreApplication::translate("cli", "portrait image: ") + error.message};
}

namespace {

QString pictureReason(const portrait::Error& error) {
  using Problem = portrait::Error::PictureProblem;
  switch (error.pictureProblem) {
    case Problem::FileTooLarge:
      return QCoreApplication::translate("cli", "the picture file is larger than %1 MiB")
          .arg(error.limit >> 20);
    case Problem::TooManyPixels:
      return QCoreApplication::translate(
                 "cli", "the picture is %1x%2 pixels, more than the %3 million allowed")
          .arg(error.size.width())
          .arg(error.size.height())
          .arg(error.limit / 1000000);
    case Problem::NotAPicture:
      return QCoreApplication::translate("cli",
                                         "this is neither an FSH image nor a picture Qt can read");
    case Problem::VectorFormat:
      return QCoreApplication::translate(
                 "cli", "%1 pictures cannot be imported; use a raster format such as PNG")
          .arg(QString::fromLatin1(error.format).toUpper());
    case Problem::CutShort:
      return QCoreApplication::translate("cli", "the file ends before the picture's pixels do");
    case Problem::Unreadable:
      return QCoreApplication::translate("cli", "the picture cannot be read: %1")
          .arg(error.qtReason);
    case Problem::Unwritable:
      return QCoreApplication::translate("cli", "the picture cannot be written as %1: %2")
          .arg(QString::fromLatin1(error.format).toUpper(), error.qtReason);
    case Problem::CropOutside:
      return QCoreApplication::translate(
                 "cli", "the crop is not wholly inside the picture of %1x%2 pixels")
          .arg(error.size.width())
          .arg(error.size.height());
    case Problem::Empty:
      break;
  }
  return QCoreApplication::translate("cli", "the picture is empty");
}

}  // namespace

FileFailure pictureFailure(const QString& archive, const QString& picture,
                           const portrait::Error& error) {
  switch (error.source) {
    case portrait::Error::Source::Archive:
      return archiveFailure(archive, error.archiveError);
    case portrait::Error::Source::Codec:
      return portraitFailure(archive, error.codecError);
    case portrait::Error::Source::Picture:
      break;
  }
  return {picture, pictureReason(error)};
}

}  // namespace cli
