#pragma once

#include <QString>
#include <optional>

class QMimeData;

namespace ui {

// A file dragged onto a window of the editor: an archive to load, an image
// or picture to import, told by its name, or a folder to open as a roster.
struct DroppedFile {
  enum class Kind { Archive, Image, Folder };
  QString path;
  Kind kind = Kind::Archive;
  bool operator==(const DroppedFile&) const = default;
};

// The one local file the data carries, when its suffix is .big (an archive)
// or .fsh or one of the picture suffixes Import offers, or a folder; nothing for several
// files, for anything else, or for no file at all.
std::optional<DroppedFile> droppedFile(const QMimeData* data);

}  // namespace ui
