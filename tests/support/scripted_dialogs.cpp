#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/shaped_form.h"

std::optional<QString> ScriptedFileDialog::Show(const DialogRequest& request) {
  shown.push_back(request);
  if (answers_.empty()) {
    ADD_FAILURE() << "a file dialog was shown that the test did not expect";
    return std::nullopt;
  }
  auto answer = std::move(answers_.front());
  answers_.pop_front();
  if (auto* choice = std::get_if<Choice>(&answer)) {
    if (choice->AfterChoice) choice->AfterChoice();
    return choice->Name;
  }
  if (auto* failure = std::get_if<CommandError>(&answer)) throw *failure;
  return std::nullopt;
}

FormUnderTest::FormUnderTest() {
  auto scripted = std::make_unique<ScriptedFileDialog>();
  auto recorder = std::make_unique<RecordingMessageBox>();
  dialogs = scripted.get();
  messages = recorder.get();
  form = std::make_unique<ShapedForm>(std::move(scripted), std::move(recorder));
  form->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

FormUnderTest::~FormUnderTest() {
  EXPECT_TRUE(dialogs->Exhausted()) << "a scripted dialog answer was never used";
}

void FormUnderTest::Click(const char* controlName) {
  auto* button = form->findChild<QPushButton*>(controlName);
  ASSERT_NE(button, nullptr) << controlName;
  QTest::mouseClick(button, Qt::LeftButton);
}

QStringList FormUnderTest::ShownArchive() const {
  QStringList shown;
  for (const char* box : {"pkgtxt", "jrsytxt"}) {
    auto* edit = Control<QLineEdit>(box);
    shown << edit->text() << (edit->isEnabled() ? "enabled" : "disabled");
  }
  shown << Control<QLabel>("Showsize")->text();
  for (const char* button : {"Save", "Import", "Export"})
    shown << (Control<QWidget>(button)->isEnabled() ? "enabled" : "disabled");
  return shown;
}
