#include "archive/command_error.h"

#include "archive/application_title.h"
#include "archive/editor_window.h"

CommandError::CommandError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

QString FormatCommandError(const CommandError& error) {
  return QStringLiteral("ERROR: ") + error.Description() + QStringLiteral(". [Error #") +
         QString::number(error.Number()) + QStringLiteral("]");
}

void ReportCommandError(EditorWindow& window, const CommandError& error) {
  if (error.Number() == CancelErrorNumber) return;
  window.ShowMessage(FormatCommandError(error), ApplicationTitle(), MessageStyle::Critical);
}
