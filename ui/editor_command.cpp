#include "ui/editor_command.h"

#include <QMenu>
#include <QShortcut>

namespace ui {

void addCommandShortcuts(QWidget* window, const QList<EditorCommand>& commands) {
  for (const EditorCommand& command : commands) {
    if (command.keys.isEmpty()) continue;
    auto* shortcut = new QShortcut(command.keys, window);
    shortcut->setContext(Qt::ApplicationShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, [command] {
      if (command.enabled()) command.run();
    });
  }
}

void fillCommandMenu(QMenu& menu, const QList<EditorCommand>& commands) {
  for (const EditorCommand& command : commands) {
    // The key is shown, not bound: the shortcut above already answers it, and
    // a second binding would make the key ambiguous while the menu is open.
    const QString keys = command.keys.toString(QKeySequence::NativeText);
    QAction* action =
        menu.addAction(keys.isEmpty() ? command.text : command.text + QLatin1Char('\t') + keys);
    action->setEnabled(command.enabled());
    QObject::connect(action, &QAction::triggered, &menu, [run = command.run] { run(); });
  }
}

}  // namespace ui
