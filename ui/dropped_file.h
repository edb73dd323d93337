#pragma once

#include <QString>
#include <optional>

class QMimeData;

// A file dragged onto a window of the editor: an archive to load, or an image
// or picture to import, told by its name.
struct DroppedFile {
  enum class Kind { Archive, Image };
  QString path;
  Kind kind = Kind::Archive;
  bool operator==(const DroppedFile&) const = default;
};

// The one local file the data carries, when its suffix is .big (an archive)
// or .fsh or one of the picture suffixes Import offers; nothing for several
// files, for anything else, or for no file at all.
std::optional<DroppedFile> droppedFile(const QMimeData* data);
