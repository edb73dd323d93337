#include "paired_timing.h"

#include <algorithm>
#include <chrono>

namespace {

// In the order the benchmarks ran; a benchmark run again replaces its row.
std::vector<BenchRow>& Rows() {
  static std::vector<BenchRow> rows;
  return rows;
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

void TimeAgainstFloor(benchmark::State& state, const QString& name,
                      const std::function<void()>& routine, const std::function<void()>& floor) {
  std::vector<double> routineTimes;
  std::vector<double> floorTimes;
  for (auto _ : state) {
    // Alternate the order so that neither side always runs on a warmer cache.
    const bool floorFirst = routineTimes.size() % 2 == 0;
    if (floorFirst) floorTimes.push_back(Seconds(floor));
    const double routineTime = Seconds(routine);
    if (!floorFirst) floorTimes.push_back(Seconds(floor));
    routineTimes.push_back(routineTime);
    state.SetIterationTime(routineTime);
  }
  const double routineMs = Median(routineTimes) * 1e3;
  const double floorMs = Median(floorTimes) * 1e3;
  const double ratio = floorMs > 0 ? routineMs / floorMs : 0;
  state.counters["routine_ms"] = routineMs;
  state.counters["floor_ms"] = floorMs;
  state.counters["ratio"] = ratio;
  auto& rows = Rows();
  const auto same =
      std::find_if(rows.begin(), rows.end(), [&](const BenchRow& row) { return row.Name == name; });
  if (same != rows.end()) rows.erase(same);
  rows.push_back({name, routineMs, floorMs, ratio});
}

namespace {
bool failed = false;
}

void FailBenchmark(benchmark::State& state, const char* why) {
  failed = true;
  state.SkipWithError(why);
}

bool AnyBenchmarkFailed() { return failed; }

const std::vector<BenchRow>& BenchRows() { return Rows(); }

QString MarkdownTable() {
  QString table = QStringLiteral(
      "| benchmark | routine (ms, median) | floor (ms, median) | ratio |\n"
      "|---|---:|---:|---:|\n");
  for (const BenchRow& row : BenchRows())
    table += QStringLiteral("| %1 | %2 | %3 | %4 |\n")
                 .arg(row.Name)
                 .arg(row.RoutineMs, 0, 'f', 4)
                 .arg(row.FloorMs, 0, 'f', 4)
                 .arg(row.Ratio, 0, 'f', 2);
  return table;
}
