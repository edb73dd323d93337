// Before a Save dialog's choice replaces a file, the question is asked through
// the message box seam in Qt's words, never by Qt, whose question shows a file
// name with markup as rich text. No shows the dialog again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "support/archive_fixture.h"
#include "ui/qt_file_dialog.h"

namespace {

// The user chooses file in the dialog once it shows.
void chooseWhenShown(const QString& file) {
  QTimer::singleShot(0, [file] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      dialog->selectFile(file);
      static_cast<QDialog*>(dialog)->accept();  // through the dialog's checks
    }
  });
}

TEST(FileDialogOverwrite, AsksInQtsWordsAndNoShowsTheDialogAgain) {
  QTemporaryDir dir;
  const QString existing = writeFile(dir.filePath("x<a href=http:evil>click.big"), "old");
  QStringList asked;  // question, caption, question, caption
  ui::QtFileDialogBackend backend(nullptr, [&](const QString& question, const QString& caption) {
    asked << question << caption;
    if (asked.size() == 2) chooseWhenShown(existing);
    return asked.size() > 2;
  });
  // Qt's own question, were it asked, is declined and its dialog closed.
  bool qtAsked = false;
  QTimer declineQt;
  QObject::connect(&declineQt, &QTimer::timeout, [&qtAsked] {
    QWidget* shown = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(shown)) {
      qtAsked = true;
      box->reject();
    } else if (qtAsked && shown) {
      shown->close();
    }
  });
  declineQt.start(100);
  chooseWhenShown(existing);
  ui::DialogRequest request;
  request.kind = ui::DialogKind::Save;
  request.title = "Save";
  request.flags = ui::DialogFlags::OverwritePrompt;

  const auto chosen = backend.show(request);

  EXPECT_FALSE(qtAsked);
  ASSERT_TRUE(chosen && chosen->has_value());
  EXPECT_EQ(QFileInfo(**chosen).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
  const QString question =
      "\u2068x<a href=http:evil>click.big\u2069 already exists.\nDo you want to replace it?";
  EXPECT_EQ(asked, (QStringList{question, "Save", question, "Save"}));
}

}  // namespace
