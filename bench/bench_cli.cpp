// The command line over many archives of 50 KB in one process, each run
// beside its floor: set-id against cp of the same files followed by one
// sync of the target folder's file system, info against reading the first
// 4 KiB of each file (head).
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
// its mipmaps, in src/; a roster map that saves each into out/.
struct Roster {
  explicit Roster(int count) {
    QDir(dir.path()).mkpath("src");
    QDir(dir.path()).mkpath("out");
    QDir(dir.path()).mkpath("copy");
    const QByteArray image = singleBitmap(fsh::Code::Dxt1, smoothPicture({256, 256}), 8).build();
    ArchiveFixture fixture;
    fixture.imageLength = static_cast<int32_t>(image.size());
    fixture.trailingBytes = ArchiveSize - fixture.length();
    QByteArray map;
    for (int i = 0; i < count; ++i) {
      const QString identifier = QStringLiteral("p%1").arg(i, 6, 10, QLatin1Char('0'));
      fixture.nameTableId = identifier.toLatin1();
      QByteArray bytes = fixture.build();
      bytes.replace(fixture.offsetOf(4), image.size(), image);
      const QString name = QStringLiteral("src/%1.big").arg(identifier);
      writeFile(dir.filePath(name), bytes);
      archives << dir.filePath(name);
      map +=
          QStringLiteral("%1,out/%2.big,x%3\n").arg(name, identifier, identifier.mid(1)).toUtf8();
    }
    writeFile(dir.filePath("roster.csv"), map);
  }

  QTemporaryDir dir;
  QStringList archives;
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

void BM_CliSetId(benchmark::State& state) {
  const Roster roster(static_cast<int>(state.range(0)));
  QStringList copyArguments = roster.archives;
  copyArguments << roster.dir.filePath("copy");
  bool saved = true;
  timeAgainstFloor(
      state, QStringLiteral("CLI set-id --map, %1 archives of 50 KB").arg(state.range(0)),
      [&] {
        saved = run(roster, CPE_CLI_PATH, {"set-id", "--quiet", "--map", "roster.csv"}) && saved;
      },
      [&] {
        if (!run(roster, "cp", copyArguments) ||
            !run(roster, "sync", {"-f", roster.dir.filePath("copy")}))
          std::abort();
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

}  // namespace

BENCHMARK(BM_CliSetId)->Apply(counts);
BENCHMARK(BM_CliInfo)->Apply(counts);
