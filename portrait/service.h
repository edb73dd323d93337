#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <vector>

#include "common/expected.h"
#include "fsh/describe.h"
#include "portrait/import_settings.h"
#include "portrait/input_file.h"
#include "portrait/picture_import.h"
#include "portrait/portrait_error.h"
#include "portrait/portrait_picture.h"
#include "portrait/roster_import.h"

namespace portrait {

// The portrait service as a program sees it that loads its picture support
// only when a command asks for a picture (Qt Gui takes as long to load as
// listing a thousand archives): every call goes through this table, so that
// nothing of the service's is linked into such a program. Each call is the
// free function of the same name, which the window calls directly.
class Service {
 public:
  virtual ~Service() = default;

  virtual QByteArrayList pictureFormats() const = 0;
  virtual RosterInput importInputOf(const QByteArray& start, const QString& path) const = 0;
  // The picture file made into the archive's portrait; nothing is written.
  virtual Expected<ImportedPortrait, Error> importPictureFile(const QString& archivePath,
                                                              const QString& picturePath,
                                                              const ImportChoice& choice) const = 0;
  // A roster's import: the folder's files matched to the archives, then the
  // archives' new content prepared on every core; the results in the jobs' order.
  virtual RosterFolderMatch matchPictureFolder(const QString& folder,
                                               const QStringList& archivePaths,
                                               MatchBy by) const = 0;
  virtual std::vector<PreparedRosterImport> prepareRosterImports(
      const std::vector<RosterImportJob>& jobs, const ImportChoice& choice,
      archive::Making how) const = 0;
  virtual Expected<PictureFile, Error> portraitPictureFile(const QString& archivePath,
                                                           const QString& targetPath,
                                                           PictureFormat format) const = 0;
  // The portrait of an archive or FSH image file as a PNG thumbnail.
  virtual Expected<PictureFile, Error> thumbnailFile(const QString& path, const QString& targetPath,
                                                     int longerSide) const = 0;
  virtual QString bitmapDetails(const fsh::BitmapDescription& bitmap) const = 0;
};

// The service of this library.
const Service& service();

// The picture file made into the archive's portrait; nothing is written. The
// archive itself is no picture (ImageIsArchive).
Expected<ImportedPortrait, Error> importPictureFile(const QString& archivePath,
                                                    const QString& picturePath,
                                                    const ImportChoice& choice);

}  // namespace portrait

// The entry point a program that loads the service as a module looks up.
extern "C" const portrait::Service* cpePortraitService();
