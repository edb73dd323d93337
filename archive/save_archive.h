#pragma once

class EditorWindow;

// Writes the current archive to SavePath with the identifier of the filled box
// written into the directory names and the name table. Content problems are
// reported here; runtime failures are thrown as CommandError for the Save
// command to report. Returns whether the archive was saved.
bool SaveArchive(EditorWindow& window);
