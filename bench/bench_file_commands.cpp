// The four archive operations on synthetic archives of 64 KiB, 16 MiB and 256 MiB,
// each beside the plain file work it cannot beat.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "archive/archive_inspection.h"
#include "archive/portrait_image.h"
#include "archive/save_archive.h"
#include "paired_timing.h"
#include "support/archive_fixture.h"

namespace {

// An archive of exactly `size` bytes whose portrait image fills everything
// after the name table, and a same-length image to import.
struct BenchArchive {
  explicit BenchArchive(int32_t size) {
    fixture.imageLength = size - fixture.offsetOf(4);
    archive = dir.filePath("archive.big");
    writeFile(archive, fixture.build());
    image = dir.filePath("import.fsh");
    writeFile(image, fshImage(fixture.imageLength, std::nullopt, 9));
  }
  QString path(const char* name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  ArchiveFixture fixture;
  QString archive;
  QString image;
};

QString sizeLabel(const char* routine, const benchmark::State& state) {
  const int64_t size = state.range(0);
  return QStringLiteral("%1 %2").arg(routine, size >= (1 << 20)
                                                  ? QStringLiteral("%1 MiB").arg(size >> 20)
                                                  : QStringLiteral("%1 KiB").arg(size >> 10));
}

void copyFloor(const QString& from, const QString& to) {
  QFile::remove(to);
  if (!QFile::copy(from, to)) std::abort();
}

void BM_InspectArchive(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = sizeLabel("inspectArchive", state);
  bool loaded = true;
  timeAgainstFloor(
      state, name,
      [&] {
        const auto info = inspectArchive(bench.archive);
        loaded = info && info->identifier == "ab12cd3" && loaded;
      },
      [&] {
        QFile file(bench.archive);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) std::abort();
        char header[16];
        benchmark::DoNotOptimize(file.read(header, sizeof header));
      });
  if (!loaded) failBenchmark(state, "the archive did not load");
}

void BM_SaveWithIdentifier(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = sizeLabel("saveWithIdentifier", state);
  bool saved = true;
  timeAgainstFloor(
      state, name,
      [&] {
        saved = saveWithIdentifier(bench.archive, bench.path("saved.big"),
                                   ArchiveKind::PlayerPackage, "zz99yy8") &&
                saved;
      },
      [&] { copyFloor(bench.archive, bench.path("copy.big")); });
  if (!saved) failBenchmark(state, "the archive was not saved");
}

void BM_ExportPortrait(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = sizeLabel("exportPortrait", state);
  const qint64 offset = bench.fixture.offsetOf(4);
  const qint64 length = bench.fixture.imageLength;
  bool exported = true;
  timeAgainstFloor(
      state, name,
      [&] { exported = exportPortrait(bench.archive, bench.path("export.fsh")) && exported; },
      [&] {
        QFile in(bench.archive);
        QFile out(bench.path("floor.fsh"));
        if (!in.open(QIODevice::ReadOnly) || !in.seek(offset) ||
            !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
          std::abort();
        const QByteArray bytes = in.read(length);
        benchmark::DoNotOptimize(out.write(bytes));
      });
  if (!exported) failBenchmark(state, "the image was not exported");
}

void BM_ImportPortrait(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = sizeLabel("importPortrait", state);
  bool imported = true;
  timeAgainstFloor(
      state, name, [&] { imported = importPortrait(bench.archive, bench.image) && imported; },
      [&] { copyFloor(bench.archive, bench.path("copy.big")); });
  if (!imported) failBenchmark(state, "the image was not imported");
}

void sizes(benchmark::internal::Benchmark* b) {
  b->Arg(64 << 10)->Arg(16 << 20)->Arg(256 << 20)->UseManualTime()->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_InspectArchive)->Apply(sizes);
BENCHMARK(BM_SaveWithIdentifier)->Apply(sizes);
BENCHMARK(BM_ExportPortrait)->Apply(sizes);
BENCHMARK(BM_ImportPortrait)->Apply(sizes);
