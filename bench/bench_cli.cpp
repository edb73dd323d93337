// The command line over many archives of 50 KB in one process, each run
// beside its floor: set-id against cp of the same files followed by one sync
// of the target folder's file system (sync -f), into an empty folder and over
// the files of the run before; info against reading the first 4 KiB of each
// file (head).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "fsh/fsh_layout.h"
#include "paired_timing.h"
#include "support/archive_fixture.h"
#include "support/fsh_fixture.h"

namespace {

constexpr int ArchiveSize = 50 * 1024;

// Archives of exactly ArchiveSize bytes, each with a 256x256 DXT1 portrait and
// its mipmaps, in src/; a roster map that saves each into a folder of targets.
struct Roster {
  explicit Roster(int count) {
    QDir(dir.path()).mkpath("src");
    const QByteArray image = singleBitmap(fsh::Code::Dxt1, smoothPicture({256, 256}), 8).build();
    ArchiveFixture fixture;
    fixture.imageLength = static_cast<int32_t>(image.size());
    fixture.trailingBytes = ArchiveSize - fixture.length();
    for (int i = 0; i < count; ++i) {
      const QString identifier = QStringLiteral("p%1").arg(i, 6, 10, QLatin1Char('0'));
      fixture.nameTableId = identifier.toLatin1();
      QByteArray bytes = fixture.build();
      bytes.replace(fixture.offsetOf(4), image.size(), image);
      const QString name = QStringLiteral("src/%1.big").arg(identifier);
      writeFile(dir.filePath(name), bytes);
      archives << dir.filePath(name);
      identifiers << identifier;
    }
    useFolders(QStringLiteral("out"), QStringLiteral("copy"));
  }

  // Makes set-id write into setIdFolder and cp into copyFolder, both created.
  void useFolders(const QString& setIdFolder, const QString& copyFolder) {
    QDir(dir.path()).mkpath(setIdFolder);
    QDir(dir.path()).mkpath(copyFolder);
    QByteArray map;
    for (const QString& identifier : identifiers)
      map += QStringLiteral("src/%1.big,%2/%1.big,x%3\n")
                 .arg(identifier, setIdFolder, identifier.mid(1))
                 .toUtf8();
    writeFile(dir.filePath("roster.csv"), map);
    copyTarget = dir.filePath(copyFolder);
  }

  QTemporaryDir dir;
  QStringList archives;
  QStringList identifiers;
  QString copyTarget;
};

// Runs a program in the roster's folder with its output thrown away.
bool run(const Roster& roster, const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setWorkingDirectory(roster.dir.path());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program, arguments);
  return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
}

// range(0): archives; range(1): 1 when the targets exist already (the last
// run's), 0 when each run writes into a new, empty folder. Nothing is deleted
// between runs: a file system slows down creating files right after many were
// deleted, which would tell more about the deleting than about either side.
void BM_CliSetId(benchmark::State& state) {
  Roster roster(static_cast<int>(state.range(0)));
  const bool over = state.range(1) != 0;
  int run_ = 0;
  bool saved = true;
  timeAgainstFloor(
      state,
      QStringLiteral("CLI set-id --map, %1 archives of 50 KB, %2")
          .arg(state.range(0))
          .arg(over ? QStringLiteral("over the same files") : QStringLiteral("new files")),
      [&] {
        saved = run(roster, CPE_CLI_PATH, {"set-id", "--quiet", "--map", "roster.csv"}) && saved;
      },
      [&] {
        QStringList arguments = roster.archives;
        arguments << roster.copyTarget;
        if (!run(roster, "cp", arguments) || !run(roster, "sync", {"-f", roster.copyTarget}))
          std::abort();
      },
      [&] {
        if (!over) {
          ++run_;
          roster.useFolders(QStringLiteral("out%1").arg(run_), QStringLiteral("copy%1").arg(run_));
        }
        // Neither side pays for what was written before it.
        if (!run(roster, "sync", {"-f", roster.dir.path()})) std::abort();
      });
  if (!saved) failBenchmark(state, "set-id failed");
}

void BM_CliInfo(benchmark::State& state) {
  const Roster roster(static_cast<int>(state.range(0)));
  QStringList infoArguments{"info"};
  infoArguments << roster.archives;
  QStringList headArguments{"-q", "-c", "4096"};
  headArguments << roster.archives;
  bool listed = true;
  timeAgainstFloor(
      state, QStringLiteral("CLI info, %1 archives of 50 KB").arg(state.range(0)),
      [&] { listed = run(roster, CPE_CLI_PATH, infoArguments) && listed; },
      [&] {
        if (!run(roster, "head", headArguments)) std::abort();
      });
  if (!listed) failBenchmark(state, "info failed");
}

void counts(benchmark::internal::Benchmark* b) {
  b->Arg(10)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);
}

// A run of 1,000 writes 50 MB on each side: a few runs tell enough.
void setIdCases(benchmark::internal::Benchmark* b) {
  b->Args({10, 0})->UseManualTime()->Unit(benchmark::kMillisecond);
  b->Args({1000, 0})->Args({1000, 1})->Iterations(5)->UseManualTime()->Unit(
      benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_CliSetId)->Apply(setIdCases);
BENCHMARK(BM_CliInfo)->Apply(counts);
