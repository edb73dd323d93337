#include "ui/dropped_file.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

std::optional<DroppedFile> droppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return std::nullopt;
  const QList<QUrl> urls = data->urls();
  if (urls.size() != 1 || !urls.first().isLocalFile()) return std::nullopt;
  const QString path = urls.first().toLocalFile();
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == u"big") return DroppedFile{path, DroppedFile::Kind::Archive};
  static const QStringList ImageSuffixes{"fsh", "png", "jpg", "jpeg", "bmp", "gif", "webp"};
  if (ImageSuffixes.contains(suffix)) return DroppedFile{path, DroppedFile::Kind::Image};
  return std::nullopt;
}
