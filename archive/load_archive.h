#pragma once

class EditorWindow;

// Validates and classifies the archive named by ArchivePath and shows its
// identifier and size, or tells the user why it was rejected. Reports every
// outcome itself; returns whether the archive was accepted. A rejected archive
// changes no control.
bool LoadArchive(EditorWindow& window);
