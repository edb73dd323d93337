#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <cstdio>

#include "paired_timing.h"

// Runs the benchmarks; with CPE_BENCH_MARKDOWN set, also writes their medians
// and ratios as a Markdown table to that file.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const QString table = markdownTable();
  std::fputs(qPrintable(table), stdout);
  if (const QByteArray path = qgetenv("CPE_BENCH_MARKDOWN"); !path.isEmpty()) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
    file.write(table.toUtf8());
  }
  return anyBenchmarkFailed() ? 1 : 0;
}
