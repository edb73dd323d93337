#pragma once

#include <benchmark/benchmark.h>

#include <QString>
#include <functional>
#include <vector>

// Times a routine beside its floor (the cheapest way to do the same work) in
// every iteration, so both see the same machine state, after one untimed run of
// each. The benchmark's time is the routine's; its counters give both medians of
// this run and their ratio. Repetitions of a benchmark pool their iterations:
// the table gives the medians over all of them. prepare, when given, runs
// untimed before each run of either side (to empty the folder both write into).
void timeAgainstFloor(benchmark::State& state, const QString& name,
                      const std::function<void()>& routine, const std::function<void()>& floor,
                      const std::function<void()>& prepare = {});

// Marks the benchmark as failed: the run then exits with a failure status, so a
// routine that stops working cannot hide in a benchmark run.
void failBenchmark(benchmark::State& state, const char* why);
bool anyBenchmarkFailed();

struct BenchRow {
  QString name;
  double routineMs;
  double floorMs;
  double ratio;
  int iterations;
};

std::vector<BenchRow> benchRows();

// The rows as a Markdown table.
QString markdownTable();
