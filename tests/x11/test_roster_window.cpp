// The roster window on a real X server, with a window manager: a roster of
// tiles among which some archives are refused and some portraits cannot be
// decoded, and the "Import pictures" review. With CPE_SCREENSHOT_DIR set,
// each is saved there as a screenshot.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "fsh/fsh_layout.h"
#include "support/archive_fixture.h"
#include "support/fsh_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/roster_import_dialog.h"
#include "ui/roster_model.h"
#include "ui/roster_window.h"
#include "x11/screenshot.h"

namespace {

// A portrait of its own for each archive: a face-like disc on a gradient.
QImage portraitPicture(int i) {
  QImage picture(128, 128, QImage::Format_ARGB32);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient background(0, 0, 0, 128);
  background.setColorAt(0, QColor::fromHsv((i * 37) % 360, 90, 230));
  background.setColorAt(1, QColor::fromHsv((i * 37 + 40) % 360, 160, 120));
  painter.fillRect(picture.rect(), background);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromHsv((i * 11) % 40 + 10, 110, 140 + (i * 13) % 90));
  painter.drawEllipse(QPoint(64, 54), 28, 34);
  painter.drawRoundedRect(24, 94, 80, 60, 30, 30);
  painter.setBrush(QColor(30, 30, 40));
  painter.drawEllipse(QPoint(53, 50), 3, 4);
  painter.drawEllipse(QPoint(75, 50), 3, 4);
  return picture;
}

// 42 archives, every ninth refused for its size field and the one after it
// with a portrait in a pixel format no decoder knows.
void writeRoster(const QDir& folder) {
  for (int i = 0; i < 42; ++i) {
    const QByteArray identifier = QStringLiteral("pl%1").arg(i, 5, 10, QLatin1Char('0')).toLatin1();
    QByteArray image = singleBitmap(fsh::Code::Dxt1, portraitPicture(i), 4).build();
    ArchiveFixture fixture =
        i % 5 == 4 ? ArchiveFixture::jersey(identifier) : ArchiveFixture::playerPackage(identifier);
    fixture = fixture.withImage(image);
    if (i % 9 == 8) fixture.archiveSizeField = 1234;
    QByteArray bytes = fixture.build();
    if (i % 9 == 0 && i > 0) bytes[fixture.offsetOf(4) + image.at(20)] = char(0x77);
    writeFile(folder.filePath(QString::fromLatin1(identifier) + ".big"), bytes);
  }
}

TEST(RosterWindowOnX11, ShowsARosterAndTheImportReview) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("roster");
  QDir(dir.path()).mkdir("photos");
  const QDir roster(dir.filePath("roster"));
  const QDir photos(dir.filePath("photos"));
  writeRoster(roster);
  for (int i : {0, 1, 2, 3, 5, 6, 7, 11, 12})
    portraitPicture(i + 100).save(
        photos.filePath(QStringLiteral("pl%1.png").arg(i, 5, 10, QLatin1Char('0'))));
  portraitPicture(7).save(photos.filePath("team-logo.png"));
  portraitPicture(8).save(photos.filePath("pl00099.jpg"));

  WindowUnderTest ui;
  ui.window->move(860, 40);
  ui.window->openRoster(roster.path());
  ui::RosterWindow* window = ui.window->rosterWindow();
  window->resize(760, 660);
  window->move(40, 40);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  // The folder is listed on a thread of its own: its rows come after the window shows.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return window->model().rowCount() == 42 &&
               window->model().count(ui::RosterModel::TileState::Reading) == 0;
      },
      10000));
  EXPECT_EQ(window->model().count(ui::RosterModel::TileState::Refused), 4);
  EXPECT_EQ(window->model().count(ui::RosterModel::TileState::Undecodable), 4);
  QTest::qWait(300);
  saveScreenshot("roster-window.png", window->frameGeometry());

  ui.dialogs->nextFileName(photos.path());
  QTimer::singleShot(0, [&] {
    auto* review = qobject_cast<ui::RosterImportDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(review));
    QTest::qWait(300);
    saveScreenshot("import-pictures-review.png", review->frameGeometry());
    review->reject();
  });
  window->importPictures();
}

}  // namespace
