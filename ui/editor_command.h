#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

class QMenu;
class QWidget;

namespace ui {

// One command of the main window, as its key and its entry in the context
// menu offer it: what the entry says, the key, what it does, and whether it
// can be run now (a disabled button's command cannot).
struct EditorCommand {
  QString text;
  QKeySequence keys;
  std::function<void()> run;
  std::function<bool()> enabled = [] { return true; };
};

// Gives each command its key, working from every window of the program.
void addCommandShortcuts(QWidget* window, const QList<EditorCommand>& commands);

// A menu of the commands in their order, each entry showing its key and
// enabled as the command is now.
void fillCommandMenu(QMenu& menu, const QList<EditorCommand>& commands);

}  // namespace ui
