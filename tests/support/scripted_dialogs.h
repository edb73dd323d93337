#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "support/recording_window.h"
#include "support/scripted_picture_import.h"
#include "ui/file_dialog.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

// File dialog answers given in advance; every dialog shown is kept.
class ScriptedFileDialog : public ui::FileDialogBackend {
 public:
  void nextFileName(const QString& name) { m_answers.emplace_back(Choice{name, {}}); }
  // The file is chosen, then something happens to the disk before the command
  // goes on: the user's file vanishes or changes after the dialog.
  void nextFileName(const QString& name, std::function<void()> afterChoice) {
    m_answers.emplace_back(Choice{name, std::move(afterChoice)});
  }
  void nextCancel() { m_answers.emplace_back(Cancel{}); }
  void nextFailure(int number, const QString& description) {
    m_answers.emplace_back(ui::CommandFailure{number, description});
  }

  Expected<std::optional<QString>, ui::CommandFailure> show(
      const ui::DialogRequest& request) override;

  std::vector<ui::DialogRequest> shown;
  bool exhausted() const { return m_answers.empty(); }

 private:
  struct Choice {
    QString name;
    std::function<void()> afterChoice;
  };
  struct Cancel {};
  std::deque<std::variant<Choice, Cancel, ui::CommandFailure>> m_answers;
};

// Keeps every message; answers questions as told in advance.
class RecordingMessageBox : public ui::MessageBoxBackend {
 public:
  void show(const QString& text, const QString& caption, ui::MessageStyle style) override {
    messages.push_back({text, caption, style});
  }
  bool ask(const QString& question, const QString& caption) override;
  void nextAnswer(bool yes) { answers.push_back(yes); }

  std::vector<RecordedMessage> messages;
  std::vector<RecordedMessage> questions;
  std::deque<bool> answers;
};

// A main window with scripted dialogs and recorded messages, shown offscreen.
// Every scripted answer must have been used by the end of the test.
struct WindowUnderTest {
  WindowUnderTest();
  ~WindowUnderTest();

  // What the user sees of the current archive: both identifier boxes with their
  // enabled states, the size, and the enabled states of the file buttons.
  QStringList shownArchive() const;

  // A real mouse click on the named button.
  void click(const char* controlName);
  template <typename T>
  T* control(const char* name) const {
    return window->findChild<T*>(name);
  }

  ScriptedFileDialog* dialogs;
  RecordingMessageBox* messages;
  ScriptedPictureImport* pictures;
  std::unique_ptr<ui::MainWindow> window;
};
