#pragma once

class QImage;
class QString;

namespace ui {

class EditorWindow;

// What each file command does once its dialog has given it a file: it takes
// its paths from the window state, runs the archive operation and shows the
// outcome in the window. Each returns whether the operation was carried out;
// a refused or failed one has told the user why and changed no control.

// Checks the archive at archivePath and shows its identifier in the box of its
// kind, and its size; unlocks Save, Import and Export. Another archive than
// the one imports were made into forgets their history.
bool loadArchiveInto(EditorWindow& window);

// Saves the current archive to savePath with the identifier of the first box
// that holds one, and makes savePath the current archive.
bool saveArchiveFrom(EditorWindow& window);

// Puts the file at importPath in place of the current archive's portrait. Its
// content decides how: an FSH image goes in as it is (one compressed as a
// whole, unpacked), a picture after the user has chosen how it becomes the
// portrait (see importPictureInto).
bool importPortraitInto(EditorWindow& window);

// Asks the user how the picture becomes the portrait, then encodes it and puts
// it in place of the current archive's portrait. pictureName names it for the user.
bool importPictureInto(EditorWindow& window, const QImage& picture, const QString& pictureName);

// Puts back the portrait the last import into the current archive replaced,
// if the archive still holds what that import wrote. Returns whether it did;
// with nothing to take back it does nothing.
bool undoImportIn(EditorWindow& window);

// Writes the current archive's portrait to exportPath: the FSH image, or its
// picture for a name ending in a picture format's suffix (see isPictureFileName).
bool exportPortraitFrom(EditorWindow& window);

}  // namespace ui
