#include "ui/dropped_file.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "portrait/input_file.h"

namespace ui {

std::optional<DroppedFile> droppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return std::nullopt;
  const QList<QUrl> urls = data->urls();
  if (urls.size() != 1 || !urls.first().isLocalFile()) return std::nullopt;
  const QString path = urls.first().toLocalFile();
  const QFileInfo info(path);
  if (info.isDir()) return DroppedFile{path, DroppedFile::Kind::Folder};
  const QString suffix = info.suffix().toLower();
  if (suffix == u"big") return DroppedFile{path, DroppedFile::Kind::Archive};
  // The picture formats Import reads, by the names their files usually have.
  const QByteArray name = suffix.toLatin1();
  if (suffix == u"fsh" || portrait::pictureFormats().contains(name) || name == "jpg" ||
      name == "tif")
    return DroppedFile{path, DroppedFile::Kind::Image};
  return std::nullopt;
}

}  // namespace ui
