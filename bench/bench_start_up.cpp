// Creating and showing the main window, beside an empty widget.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include "paired_timing.h"
#include "ui/shaped_form.h"

namespace {

void BM_StartUp(benchmark::State& state) {
  TimeAgainstFloor(
      state, QStringLiteral("Start-up (ShapedForm vs QWidget)"),
      [] {
        ShapedForm form;
        form.show();
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
