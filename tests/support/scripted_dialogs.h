#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "archive/command_error.h"
#include "support/recording_window.h"
#include "ui/com_dlg.h"
#include "ui/message_box.h"
#include "ui/shaped_form.h"

// File dialog answers given in advance; every dialog shown is kept.
class ScriptedFileDialog : public FileDialogBackend {
 public:
  void NextFileName(const QString& name) { answers_.emplace_back(Choice{name, {}}); }
  // The file is chosen, then something happens to the disk before the command
  // goes on: the user's file vanishes or changes after the dialog.
  void NextFileName(const QString& name, std::function<void()> afterChoice) {
    answers_.emplace_back(Choice{name, std::move(afterChoice)});
  }
  void NextCancel() { answers_.emplace_back(Cancel{}); }
  void NextFailure(int number, const QString& description) {
    answers_.emplace_back(CommandError(number, description));
  }

  std::optional<QString> Show(const DialogRequest& request) override;

  std::vector<DialogRequest> shown;
  bool Exhausted() const { return answers_.empty(); }

 private:
  struct Choice {
    QString Name;
    std::function<void()> AfterChoice;
  };
  struct Cancel {};
  std::deque<std::variant<Choice, Cancel, CommandError>> answers_;
};

class RecordingMessageBox : public MessageBoxBackend {
 public:
  void Show(const QString& text, const QString& caption, MessageStyle style) override {
    messages.push_back({text, caption, style});
  }
  std::vector<RecordedMessage> messages;
};

// A main window with scripted dialogs and recorded messages, shown offscreen.
struct FormUnderTest {
  FormUnderTest();
  ~FormUnderTest();

  // What the user sees of the current archive: both identifier boxes with their
  // enabled states, the size, and the enabled states of the file buttons.
  QStringList ShownArchive() const;

  // A real mouse click on the named button.
  void Click(const char* controlName);
  template <typename T>
  T* Control(const char* name) const {
    return form->findChild<T*>(name);
  }

  ScriptedFileDialog* dialogs;
  RecordingMessageBox* messages;
  std::unique_ptr<ShapedForm> form;
};
