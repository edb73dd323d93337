// The real message box shows its text as plain text: a file name or a typed
// identifier with markup in it is shown as it is, never as a link.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "support/archive_fixture.h"
#include "support/scripted_dialogs.h"

namespace {

struct ShownBox {
  QString text;
  Qt::TextFormat format = Qt::AutoText;
  QString labelText;
  Qt::TextFormat labelFormat = Qt::AutoText;
};

// Clicks the button, reads the message box it opens and closes it.
ShownBox messageBoxAfterClick(QPushButton* button) {
  ShownBox shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown.text = box->text();
    shown.format = box->textFormat();
    if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) {
      shown.labelText = label->text();
      shown.labelFormat = label->textFormat();
    }
    box->accept();
  });
  button->click();
  return shown;
}

TEST(MessageBox, MarkupInAFileNameOrAnIdentifierIsShownAsText) {
  QTemporaryDir dir;
  const QString path =
      writeFile(dir.filePath("x<a href=http:evil>click.big"), ArchiveFixture().build());
  auto dialogs = std::make_unique<ScriptedFileDialog>();
  ScriptedFileDialog* scripted = dialogs.get();
  ui::MainWindow window(std::move(dialogs));  // the real message boxes
  window.show();
  window.openArchive(path);
  auto* save = window.findChild<QPushButton*>("saveButton");
  ASSERT_TRUE(save->isEnabled());

  // An identifier the archive cannot store, with markup in it.
  window.findChild<QLineEdit*>("playerPackageEdit")->setText(QString::fromUtf8("Ā<br/>x"));
  scripted->nextFileName(dir.filePath("copy.big"));
  const ShownBox identifier = messageBoxAfterClick(save);
  EXPECT_EQ(identifier.format, Qt::PlainText);
  EXPECT_EQ(identifier.labelFormat, Qt::PlainText);
  EXPECT_TRUE(
      identifier.labelText.startsWith(QString::fromUtf8("\"\u2068Ā<br/>x\u2069\" cannot be saved")))
      << identifier.labelText.toStdString();

  // The archive changed on disk: Save's refusal names the file.
  writeFile(path, ArchiveFixture().build() + "tail");
  window.findChild<QLineEdit*>("playerPackageEdit")->setText("abcdefg");
  scripted->nextFileName(dir.filePath("copy.big"));
  const ShownBox fileName = messageBoxAfterClick(save);
  EXPECT_EQ(fileName.format, Qt::PlainText);
  EXPECT_EQ(fileName.labelFormat, Qt::PlainText);
  EXPECT_EQ(fileName.labelText,
            "The current archive \u2068x<a href=http:evil>click.big\u2069 is no longer a valid "
            "portrait archive: its size field does not match its length. Nothing was saved.");
  EXPECT_TRUE(scripted->exhausted());
}

// Each question guards a write (a dropped file replacing the portrait, a file
// chosen to save over): a slip of Enter answers No.
TEST(MessageBox, AQuestionDefaultsToNo) {
  ui::QtMessageBoxBackend messages(nullptr);
  bool defaultIsNo = false;
  QTimer::singleShot(0, [&defaultIsNo] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_FALSE(messages.ask("Replace the portrait?", "Courtside Portraits Editor"));
  EXPECT_TRUE(defaultIsNo);
}

}  // namespace
