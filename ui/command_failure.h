#pragma once

#include <QString>

class EditorWindow;

// A runtime failure of a file command (a file that cannot be opened or
// written, a position outside a file, a file dialog that fails): a number and
// the system's description of it.
struct CommandFailure {
  int number = 0;
  QString description;
  bool operator==(const CommandFailure&) const = default;
};

// "ERROR: <description>. [Error #<number>]"
QString formatCommandFailure(const CommandFailure& failure);

// Shows the failure in the critical-error box, with the application title as
// its caption.
void reportCommandFailure(EditorWindow& window, const CommandFailure& failure);
