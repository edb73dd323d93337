// Opens the roster window on a folder and times what a user waits for:
//   cpe_bench_roster_window FOLDER [--floor]
// Prints, in milliseconds from the call that opens the roster: the first
// paint of the grid with every tile on screen filled, every tile of the
// folder read, and the longest time the window's thread did not answer (a
// 1 ms timer's longest late fire, from the open to the last tile); then the
// process's peak resident memory. With --floor it only reads every .big
// file's bytes, the floor to compare the tiles with.
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "ui/main_window.h"
#include "ui/roster_model.h"
#include "ui/roster_sort_filter.h"
#include "ui/roster_window.h"

namespace {

double peakMebibytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

int readFloor(const QString& folder) {
  QElapsedTimer clock;
  clock.start();
  qint64 bytes = 0;
  const QDir dir(folder);
  for (const QString& name : dir.entryList({QStringLiteral("*.big")}, QDir::Files, QDir::Name)) {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::ReadOnly)) bytes += file.readAll().size();
  }
  std::printf("floor: read %lld bytes in %.1f ms\n", static_cast<long long>(bytes),
              double(clock.nsecsElapsed()) / 1e6);
  return 0;
}

// Whether every tile the view shows has been read.
bool screenfulRead(const ui::RosterWindow& roster) {
  const QListView& view = roster.view();
  const QRect viewport = view.viewport()->rect();
  const auto& tiles = roster.tiles();
  for (int row = 0; row < tiles.rowCount(); ++row) {
    const QModelIndex index = tiles.index(row, 0);
    if (!view.visualRect(index).intersects(viewport)) {
      if (view.visualRect(index).top() > viewport.bottom()) break;
      continue;
    }
    if (index.data(ui::RosterModel::StateRole).value<ui::RosterModel::TileState>() ==
        ui::RosterModel::TileState::Reading)
      return false;
  }
  return tiles.rowCount() > 0;
}

class PaintWatch : public QObject {
 public:
  PaintWatch(ui::RosterWindow& roster, QElapsedTimer& clock)
      : QObject(&roster), m_roster(roster), m_clock(clock) {}
  double firstScreenful = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && firstScreenful < 0 && screenfulRead(m_roster)) {
      // The paint this event starts is the one that shows them.
      QTimer::singleShot(0, this, [this] {
        if (firstScreenful < 0) firstScreenful = double(m_clock.nsecsElapsed()) / 1e6;
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  ui::RosterWindow& m_roster;
  QElapsedTimer& m_clock;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) {
    std::fputs("usage: cpe_bench_roster_window FOLDER [--floor]\n", stderr);
    return 2;
  }
  if (args.contains(QStringLiteral("--floor"))) return readFloor(args.first());

  ui::MainWindow window;
  window.show();
  QElapsedTimer clock;
  double longestStall = 0;
  qint64 lastBeat = 0;
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  heartbeat.setInterval(1);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longestStall = std::max(longestStall, double(now - lastBeat) / 1e6);
    lastBeat = now;
  });

  QTimer::singleShot(200, &window, [&] {
    clock.start();
    window.openRoster(args.first());
    const double opened = double(clock.nsecsElapsed()) / 1e6;
    longestStall = opened;
    lastBeat = clock.nsecsElapsed();
    heartbeat.start();
    ui::RosterWindow& roster = *window.rosterWindow();
    auto* watch = new PaintWatch(roster, clock);
    roster.view().viewport()->installEventFilter(watch);
    auto finished = std::make_shared<bool>(false);
    auto finish = [&, watch, opened, finished] {
      if (*finished || roster.model().rowCount() == 0) return;
      *finished = true;
      const double filled = double(clock.nsecsElapsed()) / 1e6;
      heartbeat.stop();
      // The last tiles' paint.
      QTimer::singleShot(50, &app, [&, watch, opened, filled] {
        std::printf(
            "archives: %d\nopen call: %.1f ms\nfirst screenful painted: %.1f ms\n"
            "every tile read: %.1f ms\nlongest stall: %.1f ms\npeak memory: %.1f MiB\n",
            roster.model().rowCount(), opened, watch->firstScreenful, filled, longestStall,
            peakMebibytes());
        app.quit();
      });
    };
    QObject::connect(&roster.model(), &ui::RosterModel::allRead, &app, finish);
  });
  return app.exec();
}
