#include "ui/command_failure.h"

#include "ui/application_title.h"
#include "ui/editor_window.h"

QString formatCommandFailure(const CommandFailure& failure) {
  return QStringLiteral("ERROR: ") + failure.description + QStringLiteral(". [Error #") +
         QString::number(failure.number) + QStringLiteral("]");
}

void reportCommandFailure(EditorWindow& window, const CommandFailure& failure) {
  window.showMessage(formatCommandFailure(failure), applicationTitle(), MessageStyle::Critical);
}
