#include "portrait/roster_entry.h"

#include "archive/opened_archive.h"
#include "portrait/portrait_preview.h"
#include "portrait/thumbnail.h"

namespace portrait {

RosterEntry readRosterEntry(const QString& path, int thumbnailSide) {
  RosterEntry entry;
  const auto archive = archive::OpenedArchive::open(path);
  if (!archive) {
    entry.refusal = archive.error();
    return entry;
  }
  entry.kind = archive->info().kind;
  entry.identifier = archive->info().identifier;

  // The same file that was checked, read once more for its portrait only.
  const auto range = archive->portraitRange();
  if (!range) {
    entry.portraitProblem = Error::archive(range.error());
    return entry;
  }
  const auto image = archive->portraitBytes(*range);
  if (!image) {
    entry.portraitProblem = Error::archive(image.error());
    return entry;
  }
  PortraitPreview preview = previewImage(*image);
  entry.bitmap = preview.bitmap;
  if (preview.problem) {
    entry.portraitProblem = std::move(preview.problem);
    return entry;
  }
  const QImage& picture = preview.picture;
  const QSize size = thumbnailSize(picture.size(), thumbnailSide);
  entry.thumbnail = size == picture.size()
                        ? picture
                        : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return entry;
}

}  // namespace portrait
