#include "paired_timing.h"

#include <algorithm>
#include <chrono>

namespace {

// In the order the benchmarks ran; a benchmark run again replaces its row.
std::vector<BenchRow>& allRows() {
  static std::vector<BenchRow> rows;
  return rows;
}

double seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

void timeAgainstFloor(benchmark::State& state, const QString& name,
                      const std::function<void()>& routine, const std::function<void()>& floor) {
  std::vector<double> routineTimes;
  std::vector<double> floorTimes;
  for (auto _ : state) {
    // Alternate the order so that neither side always runs on a warmer cache.
    const bool floorFirst = routineTimes.size() % 2 == 0;
    if (floorFirst) floorTimes.push_back(seconds(floor));
    const double routineTime = seconds(routine);
    if (!floorFirst) floorTimes.push_back(seconds(floor));
    routineTimes.push_back(routineTime);
    state.SetIterationTime(routineTime);
  }
  const double routineMs = median(routineTimes) * 1e3;
  const double floorMs = median(floorTimes) * 1e3;
  const double ratio = floorMs > 0 ? routineMs / floorMs : 0;
  state.counters["routine_ms"] = routineMs;
  state.counters["floor_ms"] = floorMs;
  state.counters["ratio"] = ratio;
  auto& rows = allRows();
  const auto same =
      std::find_if(rows.begin(), rows.end(), [&](const BenchRow& row) { return row.name == name; });
  if (same != rows.end()) rows.erase(same);
  rows.push_back({name, routineMs, floorMs, ratio});
}

namespace {
bool failed = false;
}

void failBenchmark(benchmark::State& state, const char* why) {
  failed = true;
  state.SkipWithError(why);
}

bool anyBenchmarkFailed() { return failed; }

const std::vector<BenchRow>& benchRows() { return allRows(); }

QString markdownTable() {
  QString table = QStringLiteral(
      "| benchmark | routine (ms, median) | floor (ms, median) | ratio |\n"
      "|---|---:|---:|---:|\n");
  for (const BenchRow& row : benchRows())
    table += QStringLiteral("| %1 | %2 | %3 | %4 |\n")
                 .arg(row.name)
                 .arg(row.routineMs, 0, 'f', 4)
                 .arg(row.floorMs, 0, 'f', 4)
                 .arg(row.ratio, 0, 'f', 2);
  return table;
}
