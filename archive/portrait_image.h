#pragma once

class EditorWindow;

// Puts the FSH image named by ImportPath in place of the current archive's
// member 4. Reports every outcome itself; returns whether the archive changed.
bool ImportPortrait(EditorWindow& window);

// Writes the current archive's member 4 to ExportPath. Reports every outcome
// itself; returns whether the image was written.
bool ExportPortrait(EditorWindow& window);
