#pragma once

class EditorWindow;

// Writes the current archive to SavePath with the identifier of the filled box
// written into the directory names and the name table, and makes SavePath the
// current archive. The archive is checked again first, since it may have
// changed on disk since it was loaded. Refusals are reported here and write
// nothing; runtime failures are thrown as CommandError for the Save command to
// report. Returns whether the archive was saved.
bool SaveArchive(EditorWindow& window);
