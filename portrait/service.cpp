#include "portrait/service.h"

#include <QtGlobal>

#include "archive/portrait_image.h"
#include "portrait/bitmap_details.h"
#include "portrait/same_file.h"
#include "portrait/thumbnail.h"

namespace portrait {

namespace {

class LinkedService final : public Service {
 public:
  QByteArrayList pictureFormats() const override { return portrait::pictureFormats(); }
  RosterInput importInputOf(const QByteArray& start, const QString& path) const override {
    return portrait::importInputOf(start, path);
  }
  Expected<ImportedPortrait, Error> importPictureFile(const QString& archivePath,
                                                      const QString& picturePath,
                                                      const ImportChoice& choice) const override {
    return portrait::importPictureFile(archivePath, picturePath, choice);
  }
  RosterFolderMatch matchPictureFolder(const QString& folder, const QStringList& archivePaths,
                                       MatchBy by) const override {
    return portrait::matchPictureFolder(folder, archivePaths, by);
  }
  std::vector<PreparedRosterImport> prepareRosterImports(const std::vector<RosterImportJob>& jobs,
                                                         const ImportChoice& choice,
                                                         archive::Making how) const override {
    return portrait::prepareRosterImports(jobs, choice, how);
  }
  Expected<PictureFile, Error> portraitPictureFile(const QString& archivePath,
                                                   const QString& targetPath,
                                                   PictureFormat format) const override {
    return portrait::portraitPictureFile(archivePath, targetPath, format);
  }
  Expected<PictureFile, Error> thumbnailFile(const QString& path, const QString& targetPath,
                                             int longerSide) const override {
    return portrait::thumbnailFile(path, targetPath, longerSide);
  }
  QString bitmapDetails(const fsh::BitmapDescription& bitmap) const override {
    return portrait::bitmapDetails(bitmap);
  }
};

}  // namespace

const Service& service() {
  static const LinkedService linked;
  return linked;
}

Expected<ImportedPortrait, Error> importPictureFile(const QString& archivePath,
                                                    const QString& picturePath,
                                                    const ImportChoice& choice) {
  if (auto other =
          checkNotTheArchive(archivePath, picturePath, archive::ArchiveError::Kind::ImageIsArchive);
      !other)
    return Unexpected(Error::archive(other.error()));
  const auto picture = readPictureFile(picturePath);
  if (!picture) return Unexpected(picture.error());
  const auto portrait = archive::readPortrait(archivePath);
  if (!portrait) return Unexpected(Error::archive(portrait.error()));
  return portraitFromPicture(*portrait, *picture, choice);
}

}  // namespace portrait

extern "C" Q_DECL_EXPORT const portrait::Service* cpePortraitService() {
  return &portrait::service();
}
