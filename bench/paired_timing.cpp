#include "paired_timing.h"

#include <algorithm>
#include <chrono>

namespace {

// Every timed iteration of each benchmark, in the order the benchmarks first ran:
// the repetitions of one benchmark add to the same samples.
struct Samples {
  QString name;
  std::vector<double> routine;
  std::vector<double> floor;
};

std::vector<Samples>& allSamples() {
  static std::vector<Samples> samples;
  return samples;
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

BenchRow rowOf(const Samples& samples) {
  const double routineMs = median(samples.routine) * 1e3;
  const double floorMs = median(samples.floor) * 1e3;
  return {samples.name, routineMs, floorMs, floorMs > 0 ? routineMs / floorMs : 0,
          int(samples.routine.size())};
}

}  // namespace

void timeAgainstFloor(benchmark::State& state, const QString& name,
                      const std::function<void()>& routine, const std::function<void()>& floor,
                      const std::function<void()>& prepare) {
  const auto timed = [&prepare](const std::function<void()>& work) {
    if (prepare) prepare();
    return seconds(work);
  };
  // Once each before timing, so that no timed iteration is the first to touch
  // the files, the page cache or the allocator.
  timed(floor);
  timed(routine);
  Samples run{name, {}, {}};
  for (auto _ : state) {
    // Alternate the order so that neither side always runs on a warmer cache.
    const bool floorFirst = run.routine.size() % 2 == 0;
    if (floorFirst) run.floor.push_back(timed(floor));
    const double routineTime = timed(routine);
    if (!floorFirst) run.floor.push_back(timed(floor));
    run.routine.push_back(routineTime);
    state.SetIterationTime(routineTime);
  }
  const BenchRow thisRun = rowOf(run);
  state.counters["routine_ms"] = thisRun.routineMs;
  state.counters["floor_ms"] = thisRun.floorMs;
  state.counters["ratio"] = thisRun.ratio;
  auto& all = allSamples();
  const auto same =
      std::find_if(all.begin(), all.end(), [&](const Samples& s) { return s.name == name; });
  if (same == all.end()) {
    all.push_back(std::move(run));
  } else {
    same->routine.insert(same->routine.end(), run.routine.begin(), run.routine.end());
    same->floor.insert(same->floor.end(), run.floor.begin(), run.floor.end());
  }
}

namespace {
bool failed = false;
}

void failBenchmark(benchmark::State& state, const char* why) {
  failed = true;
  state.SkipWithError(why);
}

bool anyBenchmarkFailed() { return failed; }

std::vector<BenchRow> benchRows() {
  std::vector<BenchRow> rows;
  for (const Samples& samples : allSamples()) rows.push_back(rowOf(samples));
  return rows;
}

QString markdownTable() {
  QString table = QStringLiteral(
      "| benchmark | routine (ms, median) | floor (ms, median) | ratio | iterations |\n"
      "|---|---:|---:|---:|---:|\n");
  for (const BenchRow& row : benchRows())
    table += QStringLiteral("| %1 | %2 | %3 | %4 | %5 |\n")
                 .arg(row.name)
                 .arg(row.routineMs, 0, 'f', 4)
                 .arg(row.floorMs, 0, 'f', 4)
                 .arg(row.ratio, 0, 'f', 2)
                 .arg(row.iterations);
  return table;
}
