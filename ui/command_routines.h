#pragma once

class EditorWindow;

// What each file command does once its dialog has given it a file: it takes
// its paths from the window state, runs the archive operation and shows the
// outcome in the window. Each returns whether the operation was carried out;
// a refused or failed one has told the user why and changed no control.

// Checks the archive at archivePath and shows its identifier in the box of its
// kind, and its size; unlocks Save, Import and Export.
bool loadArchiveInto(EditorWindow& window);

// Saves the current archive to savePath with the identifier of the first box
// that holds one, and makes savePath the current archive.
bool saveArchiveFrom(EditorWindow& window);

// Puts the FSH image at importPath in place of the current archive's portrait.
bool importPortraitInto(EditorWindow& window);

// Writes the current archive's portrait to exportPath.
bool exportPortraitFrom(EditorWindow& window);
