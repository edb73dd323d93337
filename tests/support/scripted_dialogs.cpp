#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

Expected<std::optional<QString>, ui::CommandFailure> ScriptedFileDialog::show(
    const ui::DialogRequest& request) {
  shown.push_back(request);
  if (m_answers.empty()) {
    ADD_FAILURE() << "a file dialog was shown that the test did not expect";
    return std::optional<QString>();
  }
  auto answer = std::move(m_answers.front());
  m_answers.pop_front();
  if (auto* choice = std::get_if<Choice>(&answer)) {
    if (choice->afterChoice) choice->afterChoice();
    return std::optional<QString>(choice->name);
  }
  if (auto* failure = std::get_if<ui::CommandFailure>(&answer)) return Unexpected(*failure);
  return std::optional<QString>();
}

bool RecordingMessageBox::ask(const QString& question, const QString& caption) {
  questions.push_back({question, caption, ui::MessageStyle::Plain});
  if (answers.empty()) {
    ADD_FAILURE() << "a question was asked that the test did not expect: "
                  << question.toStdString();
    return false;
  }
  const bool yes = answers.front();
  answers.pop_front();
  return yes;
}

WindowUnderTest::WindowUnderTest() {
  auto scripted = std::make_unique<ScriptedFileDialog>();
  auto recorder = std::make_unique<RecordingMessageBox>();
  auto prompt = std::make_unique<ScriptedPictureImport>();
  dialogs = scripted.get();
  messages = recorder.get();
  pictures = prompt.get();
  window =
      std::make_unique<ui::MainWindow>(std::move(scripted), std::move(recorder), std::move(prompt));
  window->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

WindowUnderTest::~WindowUnderTest() {
  EXPECT_TRUE(dialogs->exhausted()) << "a scripted dialog answer was never used";
  EXPECT_TRUE(pictures->exhausted()) << "a scripted Import picture answer was never used";
  EXPECT_TRUE(messages->answers.empty()) << "a scripted answer to a question was never used";
}

void WindowUnderTest::click(const char* controlName) {
  auto* button = window->findChild<QPushButton*>(controlName);
  ASSERT_NE(button, nullptr) << controlName;
  QTest::mouseClick(button, Qt::LeftButton);
}

QStringList WindowUnderTest::shownArchive() const {
  QStringList shown;
  for (const char* box : {"playerPackageEdit", "jerseyNameEdit"}) {
    auto* edit = control<QLineEdit>(box);
    shown << edit->text() << (edit->isEnabled() ? "enabled" : "disabled");
  }
  shown << control<QLabel>("sizeLabel")->text();
  for (const char* button : {"saveButton", "importButton", "exportButton"})
    shown << (control<QWidget>(button)->isEnabled() ? "enabled" : "disabled");
  return shown;
}
