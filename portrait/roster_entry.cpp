#include "portrait/roster_entry.h"

#include "archive/archive_inspection.h"
#include "archive/portrait_image.h"
#include "fileio/file_reader.h"
#include "fsh/bitmap_decoder.h"
#include "fsh/fsh_file.h"
#include "portrait/thumbnail.h"

namespace portrait {

RosterEntry readRosterEntry(const QString& path, int thumbnailSide) {
  RosterEntry entry;
  const auto reader = fileio::FileReader::open(path);
  if (!reader) {
    entry.refusal = ArchiveError(reader.error());
    return entry;
  }
  const auto info = inspectArchive(*reader);
  if (!info) {
    entry.refusal = info.error();
    return entry;
  }
  entry.kind = info->kind;
  entry.identifier = info->identifier;

  // The same file that was checked, read once more for its portrait only.
  const auto range = locatePortrait(*reader, *info);
  if (!range) {
    entry.portraitProblem = Error::archive(range.error());
    return entry;
  }
  const auto image = reader->readAt(range->offset, range->length);
  if (!image) {
    entry.portraitProblem = Error::archive(ArchiveError(image.error()));
    return entry;
  }
  const auto file = fsh::parseFsh(*image);
  if (!file) {
    entry.portraitProblem = Error::codec(file.error());
    return entry;
  }
  const auto bitmap = fsh::describe(*file);
  if (!bitmap) {
    entry.portraitProblem = Error::codec(bitmap.error());
    return entry;
  }
  entry.bitmap = *bitmap;
  const auto picture = fsh::decodeBitmap(*file, bitmap->entryIndex);
  if (!picture) {
    entry.portraitProblem = Error::codec(picture.error());
    return entry;
  }
  const QSize size = thumbnailSize(picture->size(), thumbnailSide);
  entry.thumbnail = size == picture->size()
                        ? *picture
                        : picture->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return entry;
}

}  // namespace portrait
