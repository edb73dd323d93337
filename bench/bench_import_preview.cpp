// The Import picture dialog while the user changes its options: how soon the
// preview shows each new result, the longest the GUI thread is kept from its
// events meanwhile, and how soon the dialog opens. A 256x256 DXT5 portrait
// with 8 mipmaps from a 480x480 picture; every change moves the crop as a drag
// does (a new fit each time) and, in turn, changes the format, the mipmaps or
// the fit as well. The same for a 4096x4096 portrait, whose encodes take
// seconds: only the stall counts there, over 3 changes.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <vector>

#include "fsh/fsh_layout.h"
#include "paired_timing.h"
#include "portrait/import_previewer.h"
#include "support/portrait_fixture.h"
#include "ui/import_picture_dialog.h"
#include "ui/portrait_view.h"

namespace {

portrait::PictureImport benchImport(int side = 256) {
  return *portrait::PictureImport::prepare(
      portraitImage(fsh::Code::Dxt5, paintedPortrait({side, side}), 8),
      paintedPortrait({480, 480}, true), QStringLiteral("portrait.png"));
}

portrait::ImportSettings change(int i) {
  portrait::ImportSettings settings{portrait::FitMode::Fill, fsh::Code::Dxt5, 8,
                                    QRect(20 + i, 30 + i % 7, 400, 400)};
  switch (i % 4) {
    case 1:
      settings.code = fsh::Code::Dxt1;
      break;
    case 2:
      settings.mipmapCount = 4;
      break;
    case 3:
      settings.fitMode = portrait::FitMode::Stretch;
      break;
    default:
      break;
  }
  return settings;
}

double percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

qint64 threadCpuNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void waitFor(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_ImportPreviewChange(benchmark::State& state) {
  const int side = int(state.range(0));
  const int changes = side > 256 ? 3 : 20;
  portrait::PictureImport import = benchImport(side);
  ui::ImportPictureDialog dialog(import);
  dialog.show();
  waitFor([&] { return dialog.isPreviewFinal(); });
  auto* previewer = dialog.findChild<portrait::ImportPreviewer*>();
  auto* view = dialog.findChild<ui::PortraitView*>(QStringLiteral("previewView"));
  bool arrived = false;
  QObject::connect(previewer, &portrait::ImportPreviewer::previewReady, [&] { arrived = true; });

  // Fires every millisecond while the event loop is free: the longest gap
  // between two firings, less that millisecond, is the longest the GUI thread
  // was kept from its events. On a machine busy with other work that includes
  // waiting for a core, so the thread's own processor time between two
  // firings is kept too: the work it did.
  QElapsedTimer clock;
  clock.start();
  qint64 lastFree = 0;
  qint64 lastFreeCpu = 0;
  qint64 longestStall = 0;
  qint64 longestStallCpu = 0;
  QTimer probe;
  probe.setTimerType(Qt::PreciseTimer);
  probe.setInterval(1);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    const qint64 cpu = threadCpuNanoseconds();
    longestStall = std::max(longestStall, now - lastFree);
    longestStallCpu = std::max(longestStallCpu, cpu - lastFreeCpu);
    lastFree = now;
    lastFreeCpu = cpu;
  });

  std::vector<double> latencies;
  int round = 0;
  for (auto _ : state) {
    probe.start();
    lastFree = clock.nsecsElapsed();
    lastFreeCpu = threadCpuNanoseconds();
    const qint64 begin = lastFree;
    for (int i = 0; i < changes; ++i) {
      arrived = false;
      const qint64 start = clock.nsecsElapsed();
      // Offset by round, so that no change finds its result made already.
      dialog.setSettings(change(i + changes * round));
      waitFor([&] { return arrived; });
      view->repaint();  // shown, not only handed to the view
      latencies.push_back(double(clock.nsecsElapsed() - start) / 1e6);
    }
    state.SetIterationTime(double(clock.nsecsElapsed() - begin) / 1e9);
    probe.stop();
    ++round;
  }
  state.counters["median_ms"] = percentile(latencies, 0.5);
  state.counters["p95_ms"] = percentile(latencies, 0.95);
  state.counters["longest_stall_ms"] = std::max(0.0, double(longestStall) / 1e6 - 1);
  state.counters["longest_stall_cpu_ms"] = double(longestStallCpu) / 1e6;
}

void BM_ImportPreviewDialogOpen(benchmark::State& state) {
  portrait::PictureImport import = benchImport();
  std::unique_ptr<QDialog> shown;
  timeAgainstFloor(
      state, QStringLiteral("Import picture dialog open vs a bare dialog"),
      [&] {
        shown = std::make_unique<ui::ImportPictureDialog>(import);
        shown->show();
        shown->repaint();
      },
      [&] {
        shown = std::make_unique<QDialog>();
        auto* layout = new QVBoxLayout(shown.get());
        layout->addWidget(new QLabel(QStringLiteral("Import picture"), shown.get()));
        shown->show();
        shown->repaint();
      },
      [&] {
        shown.reset();
        QCoreApplication::processEvents();
      });
  shown.reset();
}

}  // namespace

BENCHMARK(BM_ImportPreviewChange)
    ->Arg(256)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPreviewChange)
    ->Arg(4096)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPreviewDialogOpen)->UseManualTime()->Unit(benchmark::kMillisecond);
