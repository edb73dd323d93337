#pragma once

#include <QString>
#include <stdexcept>

class EditorWindow;

// A runtime failure of a file command: a number and a description, reported to
// the user by ReportCommandError. A cancelled file dialog is the same failure
// with CancelErrorNumber, and is never shown.
class CommandError : public std::runtime_error {
 public:
  CommandError(int number, const QString& description);

  int Number() const { return number_; }
  const QString& Description() const { return description_; }

 private:
  int number_;
  QString description_;
};

inline constexpr int CancelErrorNumber = 32755;
inline constexpr int OverflowErrorNumber = 6;
inline constexpr int PastEndOfFileErrorNumber = 62;
inline constexpr int BadPositionErrorNumber = 63;

// "ERROR: <description>. [Error #<number>]"
QString FormatCommandError(const CommandError& error);

// Shows a failure with the critical icon and the application title as caption;
// a cancelled dialog shows nothing.
void ReportCommandError(EditorWindow& window, const CommandError& error);
