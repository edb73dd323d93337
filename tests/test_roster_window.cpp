// The roster window: its model's rows for each kind of archive, the folder
// watched, the filter, and a batch import reviewed before anything is written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "fsh/fsh_layout.h"
#include "portrait/roster_reader.h"
#include "support/fsh_fixture.h"
#include "support/portrait_archive.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"
#include "ui/roster_export_dialog.h"
#include "ui/roster_import_dialog.h"
#include "ui/roster_model.h"
#include "ui/roster_sort_filter.h"
#include "ui/roster_window.h"

namespace {

using State = ui::RosterModel::TileState;

QByteArray goodArchive(const QByteArray& identifier) {
  ArchiveFixture fixture;
  fixture.nameTableId = identifier;
  return archiveWithPortrait(fixture, samplePortrait(fsh::Code::Dxt1, {128, 64}));
}

// Loads, but its portrait's pixel format is one no decoder knows.
QByteArray undecodableArchive() {
  QByteArray image = samplePortrait(fsh::Code::Dxt1, {32, 32});
  image[image.at(20)] = char(0x77);
  return archiveWithPortrait(ArchiveFixture::jersey("jr00001"), image);
}

QByteArray refusedArchive() {
  ArchiveFixture fixture;
  fixture.archiveSizeField = 1234;
  return fixture.build();
}

struct RowSeen {
  QString identifier;
  State state;
  QString kind;
  QString format;
  bool problemShown;
  QSize thumbnail;
  bool operator==(const RowSeen&) const = default;
};

void PrintTo(const RowSeen& row, std::ostream* out) {
  *out << row.identifier.toStdString() << " state " << int(row.state) << " "
       << row.kind.toStdString() << " " << row.format.toStdString() << " problem "
       << row.problemShown << " " << row.thumbnail.width() << "x" << row.thumbnail.height();
}

RowSeen rowSeen(const ui::RosterModel& model, const QString& fileName) {
  const QModelIndex index = model.index(model.rowOf(fileName));
  return {index.data(ui::RosterModel::IdentifierRole).toString(),
          index.data(ui::RosterModel::StateRole).value<State>(),
          index.data(ui::RosterModel::KindRole).toString(),
          index.data(ui::RosterModel::FormatRole).toString(),
          !index.data(ui::RosterModel::ProblemRole).toString().isEmpty(),
          index.data(ui::RosterModel::ThumbnailRole).value<QImage>().size()};
}

// QTest's QTRY_ macros report to QTest, not to GoogleTest: waits are checked here.
// The window lists its folder once it has been shown.
void waitUntilRead(ui::RosterModel& model) {
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return model.rowCount() > 0 && model.count(State::Reading) == 0; }, 10000));
}

TEST(RosterModel, ShowsEachArchiveAsLoadWouldSeeIt) {
  QTemporaryDir dir;
  writeFile(dir.filePath("good.big"), goodArchive("ab12cd3"));
  writeFile(dir.filePath("jersey.big"), undecodableArchive());
  writeFile(dir.filePath("short.big"), refusedArchive());
  writeFile(dir.filePath("notes.txt"), "not an archive");
  QDir(dir.path()).mkdir("sub.big");

  ui::RosterModel model;
  model.setFolder(dir.path());
  waitUntilRead(model);

  ASSERT_EQ(model.rowCount(), 3);  // neither the text file nor the subfolder
  // A thumbnail keeps the portrait's aspect at 96 pixels on its longer side.
  EXPECT_EQ(rowSeen(model, "good.big"),
            (RowSeen{"ab12cd3", State::Good, "Player", "DXT1", false, {96, 48}}));
  EXPECT_EQ(rowSeen(model, "jersey.big"),
            (RowSeen{"jr00001", State::Undecodable, "Jersey", "unknown 0x77", true, {0, 0}}));
  EXPECT_EQ(rowSeen(model, "short.big"), (RowSeen{"", State::Refused, "", "", true, {0, 0}}));
}

QStringList rowNames(const ui::RosterModel& model) {
  QStringList names;
  for (int row = 0; row < model.rowCount(); ++row)
    names << model.index(row).data(ui::RosterModel::FileNameRole).toString();
  names.sort();
  return names;
}

// More archives than are added in one turn, and the folder changes while its
// rows come in and again while it is being listed: the rows end as the folder
// is, each once.
TEST(RosterModel, EndsAsTheFolderIsWhenItChangesWhileBeingTakenIn) {
  QTemporaryDir dir;
  const QByteArray archive = goodArchive("ab12cd3");
  const auto name = [](int i) { return QStringLiteral("p%1.big").arg(i, 4, 10, QLatin1Char('0')); };
  const int count = int(ui::RosterModel::InsertedAtOnce) * 2 + 10;
  for (int i = 0; i < count; ++i) writeFile(dir.filePath(name(i)), archive);
  ui::RosterModel model;
  QObject::connect(
      &model, &QAbstractItemModel::rowsInserted, &model,
      [&] {
        QFile::remove(dir.filePath(name(0)));          // a row already there
        QFile::remove(dir.filePath(name(count - 1)));  // listed, not yet a row
        model.refresh();
        // Events wait meanwhile: the folder has been listed again, and that
        // listing has not been taken in yet when the folder changes once more.
        QTest::qSleep(100);
        writeFile(dir.filePath("added.big"), archive);
        model.refresh();
      },
      Qt::SingleShotConnection);
  model.setFolder(dir.path());

  QStringList expected{"added.big"};
  for (int i = 1; i < count - 1; ++i) expected << name(i);
  expected.sort();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return model.count(State::Reading) == 0 && rowNames(model) == expected; }, 20000));
  EXPECT_EQ(model.rowCount(), expected.size());
}

// A roster larger than the thumbnails kept: only the most recent are kept,
// and a tile scrolled to whose thumbnail was dropped gets it back.
TEST(RosterModel, KeepsABoundedNumberOfThumbnailsAndReadsADroppedOneAgain) {
  QTemporaryDir dir;
  const QByteArray archive = goodArchive("ab12cd3");
  const int count = int(ui::RosterModel::KeptThumbnails) + 40;
  for (int i = 0; i < count; ++i)
    writeFile(dir.filePath(QStringLiteral("p%1.big").arg(i, 5, 10, QLatin1Char('0'))), archive);
  ui::RosterModel model;
  model.setFolder(dir.path());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return model.rowCount() == count && model.count(State::Reading) == 0; }, 60000));
  const auto thumbnail = [&model](int row) {
    return model.index(row).data(ui::RosterModel::ThumbnailRole).value<QImage>();
  };
  const auto kept = [&] {
    QList<int> rows;
    for (int row = 0; row < count; ++row)
      if (!thumbnail(row).isNull()) rows << row;
    return rows;
  };

  const QList<int> before = kept();
  EXPECT_EQ(before.size(), qsizetype(ui::RosterModel::KeptThumbnails));
  int dropped = 0;
  while (before.contains(dropped)) ++dropped;
  ASSERT_LT(dropped, count);
  // Still counted as read: the status line does not go back to "reading".
  EXPECT_EQ(model.index(dropped).data(ui::RosterModel::StateRole).value<State>(), State::Good);
  model.readFirst({dropped});
  EXPECT_TRUE(QTest::qWaitFor([&] { return !thumbnail(dropped).isNull(); }, 10000));
  EXPECT_EQ(kept().size(), qsizetype(ui::RosterModel::KeptThumbnails));
}

TEST(RosterSortFilter, FiltersByIdentifierOrNameAndPutsProblemsFirst) {
  QTemporaryDir dir;
  writeFile(dir.filePath("a10.big"), goodArchive("zz00010"));
  writeFile(dir.filePath("a2.big"), goodArchive("zz00002"));
  writeFile(dir.filePath("b.big"), refusedArchive());
  ui::RosterModel model;
  ui::RosterSortFilter tiles;
  tiles.setSourceModel(&model);
  model.setFolder(dir.path());
  waitUntilRead(model);
  const auto shown = [&tiles] {
    QStringList names;
    for (int row = 0; row < tiles.rowCount(); ++row)
      names << tiles.index(row, 0).data(ui::RosterModel::FileNameRole).toString();
    return names;
  };

  EXPECT_EQ(shown(), QStringList({"a2.big", "a10.big", "b.big"}));
  tiles.setOrder(ui::RosterOrder::ProblemsFirst);
  EXPECT_EQ(shown(), QStringList({"b.big", "a2.big", "a10.big"}));
  tiles.setFilterText("ZZ0001");  // the identifier, case ignored
  EXPECT_EQ(shown(), QStringList({"a10.big"}));
  tiles.setFilterText("b.b");  // the file name
  EXPECT_EQ(shown(), QStringList({"b.big"}));
}

TEST(RosterWindow, FollowsTheFolderAsFilesAreAddedRewrittenAndRemoved) {
  QTemporaryDir dir;
  writeFile(dir.filePath("one.big"), goodArchive("aa00001"));
  WindowUnderTest ui;
  ui.window->openRoster(dir.path());
  ui::RosterWindow* roster = ui.window->rosterWindow();
  ASSERT_NE(roster, nullptr);
  EXPECT_EQ(roster->windowTitle(), QStringLiteral("Roster - ") + QDir(dir.path()).dirName());
  ui::RosterModel& model = roster->model();
  waitUntilRead(model);

  writeFile(dir.filePath("two.big"), goodArchive("aa00002"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 2; }, 5000));
  writeFile(dir.filePath("one.big"), goodArchive("bb00001"));  // as the command line rewrites it
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return rowSeen(model, "one.big").identifier == "bb00001"; }, 5000));
  QFile::remove(dir.filePath("two.big"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 1; }, 5000));
}

TEST(RosterWindow, DownInTheFilterSelectsTheFirstTileAndEnterLoadsIt) {
  QTemporaryDir dir;
  writeFile(dir.filePath("b.big"), goodArchive("bb00001"));
  writeFile(dir.filePath("a.big"), goodArchive("aa00001"));
  WindowUnderTest ui;
  ui.window->openRoster(dir.path());
  ui::RosterWindow* roster = ui.window->rosterWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(roster));
  waitUntilRead(roster->model());  // the folder is listed on a thread of its own
  auto* filter = roster->findChild<QLineEdit*>("filterEdit");
  EXPECT_TRUE(QTest::qWaitFor([&] { return filter->hasFocus(); }));

  QTest::keyClick(filter, Qt::Key_Down);
  QListView& view = roster->view();
  EXPECT_TRUE(view.hasFocus());
  EXPECT_EQ(view.currentIndex().data(ui::RosterModel::FileNameRole).toString(), "a.big");
  QTest::keyClick(&view, Qt::Key_Return);
  EXPECT_EQ(ui.shownArchive().first(), "aa00001");

  // The filter's clear button comes with its first text.
  QTest::keyClicks(filter, "b");
  EXPECT_TRUE(filter->isClearButtonEnabled());
}

// The review names what it found before anything is written; after it, one
// picture that cannot be read leaves its archive untouched and is named in
// the summary, and the others are written.
TEST(RosterWindow, ImportsAFolderOfPicturesAfterTheReview) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("roster");
  QDir(dir.path()).mkdir("photos");
  const QDir roster(dir.filePath("roster"));
  const QDir photos(dir.filePath("photos"));
  for (const char* name : {"good", "bad", "alone"})
    writeFile(roster.filePath(QString(name) + ".big"), goodArchive("ab12cd3"));
  noisePicture({64, 64}, 7).save(photos.filePath("good.png"));
  writeFile(photos.filePath("bad.png"), "no picture at all");
  smoothPicture({64, 64}).save(photos.filePath("stray.png"));
  const QByteArray before = readFile(roster.filePath("good.big"));

  WindowUnderTest ui;
  ui.window->openRoster(roster.path());
  ui::RosterWindow* window = ui.window->rosterWindow();
  waitUntilRead(window->model());
  ui.dialogs->nextFileName(photos.path());

  QStringList reviewed;
  QTimer::singleShot(0, [&] {
    auto* review = qobject_cast<ui::RosterImportDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(review, nullptr);
    // Nothing is written while the review is open.
    EXPECT_EQ(readFile(roster.filePath("good.big")), before);
    auto* list = review->findChild<QTreeWidget*>("matchList");
    for (int group = 0; group < list->topLevelItemCount(); ++group) {
      const QTreeWidgetItem* item = list->topLevelItem(group);
      QStringList children;
      for (int i = 0; i < item->childCount(); ++i)
        children << item->child(i)->text(0) + "<-" + item->child(i)->text(1);
      reviewed << item->text(0) + ": " + children.join(", ");
    }
    review->accept();
  });
  QSignalSpy finished(window, &ui::RosterWindow::batchFinished);
  window->importPictures();
  ASSERT_TRUE(finished.wait(20000));

  EXPECT_EQ(reviewed, QStringList({"Pictures to import (2): bad.big<-bad.png, good.big<-good.png",
                                   "Archives with no picture (1): alone.big<-",
                                   "Pictures with no archive (1): <-stray.png"}));
  EXPECT_NE(readFile(roster.filePath("good.big")), before);
  EXPECT_EQ(readFile(roster.filePath("bad.big")), before);
  EXPECT_EQ(readFile(roster.filePath("alone.big")), before);
  ASSERT_EQ(ui.messages->messages.size(), 1u);
  const QString summary = ui.messages->messages.front().text;
  EXPECT_TRUE(summary.startsWith("1 of 2 portraits imported.")) << summary.toStdString();
  EXPECT_TRUE(summary.contains("bad.png")) << summary.toStdString();
  EXPECT_EQ(QDir(roster.path()).entryList(QDir::Files | QDir::Hidden).size(),
            3);  // no temporary left
}

TEST(RosterReader, ReadsTheArchivesAskedForFirstBeforeTheRest) {
  QTemporaryDir dir;
  QStringList paths;
  for (int i = 0; i < 12; ++i)
    paths << writeFile(dir.filePath(QStringLiteral("p%1.big").arg(i)), goodArchive("ab12cd3"));
  portrait::RosterReader reader(32);
  reader.setThreadCount(1);
  QStringList order;
  QObject::connect(&reader, &portrait::RosterReader::entryRead,
                   [&order](const QString& path, const portrait::RosterEntry&) { order << path; });
  reader.read(paths);
  reader.readFirst({paths[11], paths[10]});
  ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 12; }, 10000));
  // The one thread may have taken the first archive before it was told.
  const qsizetype at = order.indexOf(paths[11]);
  EXPECT_LE(at, 1) << order.join(" ").toStdString();
  EXPECT_EQ(order.indexOf(paths[10]), at + 1);
  EXPECT_EQ(QSet<QString>(order.begin(), order.end()).size(), 12);  // each once
}

// The tiles on screen are asked for first again each time they change, the
// one being read and those read among them too: each is read once.
TEST(RosterReader, ReadsEachArchiveOnceHoweverOftenItIsAskedForFirst) {
  QTemporaryDir dir;
  QStringList paths;
  for (int i = 0; i < 12; ++i)
    paths << writeFile(dir.filePath(QStringLiteral("p%1.big").arg(i)), goodArchive("ab12cd3"));
  portrait::RosterReader reader(32);
  reader.setThreadCount(1);
  QStringList read;
  QObject::connect(&reader, &portrait::RosterReader::entryRead,
                   [&read](const QString& path, const portrait::RosterEntry&) { read << path; });
  reader.read(paths);
  QElapsedTimer waited;
  waited.start();
  while (read.size() < paths.size() && waited.elapsed() < 10000) {
    reader.readFirst(paths);
    QTest::qWait(1);
  }
  QTest::qWait(100);  // time for any archive read twice to come in
  EXPECT_EQ(read.size(), paths.size()) << read.join(" ").toStdString();
  EXPECT_EQ(QSet<QString>(read.begin(), read.end()).size(), paths.size());
}

TEST(RosterWindow, ExportsEveryTileShownAndNamesTheArchiveItCouldNot) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("roster");
  QDir(dir.path()).mkdir("out");
  const QDir roster(dir.filePath("roster"));
  const QDir out(dir.filePath("out"));
  writeFile(roster.filePath("a.big"), goodArchive("aa00001"));
  writeFile(roster.filePath("b.big"), goodArchive("bb00002"));
  writeFile(roster.filePath("short.big"), refusedArchive());
  writeFile(out.filePath("a.png"), "an older export");

  WindowUnderTest ui;
  ui.window->openRoster(roster.path());
  ui::RosterWindow* window = ui.window->rosterWindow();
  waitUntilRead(window->model());
  ui.dialogs->nextFileName(out.path());
  QTimer::singleShot(0, [] {
    auto* review = qobject_cast<ui::RosterExportDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(review, nullptr);
    review->accept();  // PNG pictures
  });
  QSignalSpy finished(window, &ui::RosterWindow::batchFinished);
  window->exportPictures();
  ASSERT_TRUE(finished.wait(20000));

  EXPECT_EQ(out.entryList(QDir::Files | QDir::Hidden), QStringList({"a.png", "b.png"}));
  EXPECT_EQ(QImage(out.filePath("a.png")).size(), QSize(128, 64));  // the portrait's own size
  ASSERT_EQ(ui.messages->messages.size(), 1u);
  const QString summary = ui.messages->messages.front().text;
  EXPECT_TRUE(summary.startsWith("2 of 3 portraits exported.")) << summary.toStdString();
  EXPECT_TRUE(summary.contains("short.big")) << summary.toStdString();
}

TEST(RosterWindow, APictureDroppedOnATileGoesIntoThatArchiveAfterTheQuestion) {
  QTemporaryDir dir;
  const QString archive = writeFile(dir.filePath("a.big"), goodArchive("aa00001"));
  const QByteArray before = readFile(archive);
  QTemporaryDir pictures;
  const QString picture = pictures.filePath("face.png");
  noisePicture({64, 64}, 3).save(picture);

  WindowUnderTest ui;
  ui.window->openRoster(dir.path());
  ui::RosterWindow* window = ui.window->rosterWindow();
  waitUntilRead(window->model());
  QListView& view = window->view();
  const QPoint at = view.visualRect(window->tiles().index(0, 0)).center();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(picture)});
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  ui.messages->nextAnswer(true);
  ui.pictures->nextAcceptDefaults();
  QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &dropped);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ui.messages->answers.empty(); }));
  QCoreApplication::processEvents();

  ASSERT_EQ(ui.messages->questions.size(), 1u);
  EXPECT_TRUE(ui.messages->questions.front().text.contains("face.png"));
  EXPECT_NE(readFile(archive), before);
  EXPECT_EQ(ui.shownArchive().first(), "aa00001");  // loaded as Load loads it
}

TEST(MainWindowCommands, TheContextMenuListsEveryCommandWithItsKeys) {
  WindowUnderTest ui;
  QStringList listed;
  for (const ui::EditorCommand& command : ui.window->commands())
    listed << command.text + " " + command.keys.toString();
  EXPECT_EQ(listed, QStringList({"Load Ctrl+O", "Save Ctrl+S", "Import Ctrl+I", "Export Ctrl+E",
                                 "Undo Ctrl+Z", "Edit picture... Ctrl+Shift+E",
                                 "Open roster... Ctrl+R", "About F1", "Quit Ctrl+Q"}));

  QTemporaryDir dir;
  ui.dialogs->nextFileName(dir.path());
  QTest::keyClick(ui.window.get(), Qt::Key_R, Qt::ControlModifier);
  ASSERT_NE(ui.window->rosterWindow(), nullptr);
  EXPECT_EQ(ui.dialogs->shown.back().kind, ui::DialogKind::Folder);
  EXPECT_EQ(ui.window->rosterWindow()->folder(), QFileInfo(dir.path()).absoluteFilePath());
}

}  // namespace
