// Creating and showing the main window, beside an empty widget.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include "paired_timing.h"
#include "ui/main_window.h"

namespace {

void BM_StartUp(benchmark::State& state) {
  timeAgainstFloor(
      state, QStringLiteral("Start-up (MainWindow vs QWidget)"),
      [] {
        ui::MainWindow window;
        window.show();
        QApplication::processEvents();
      },
      [] {
        QWidget widget;
        widget.resize(392, 240);
        widget.show();
        QApplication::processEvents();
      });
}

}  // namespace

BENCHMARK(BM_StartUp)->UseManualTime()->Unit(benchmark::kMillisecond);
