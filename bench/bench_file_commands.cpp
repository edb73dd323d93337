// The four file routines on synthetic archives of 64 KiB, 16 MiB and 256 MiB,
// each beside the plain file work it cannot beat.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "archive/load_archive.h"
#include "archive/portrait_image.h"
#include "archive/save_archive.h"
#include "paired_timing.h"
#include "support/archive_fixture.h"
#include "support/recording_window.h"

namespace {

// An archive of exactly `size` bytes whose portrait image fills everything
// after the name table, and a same-length image to import.
struct BenchArchive {
  explicit BenchArchive(int32_t size) {
    fixture.ImageLength = size - fixture.OffsetOf(4);
    archive = dir.filePath("archive.big");
    WriteFile(archive, fixture.Build());
    image = dir.filePath("import.fsh");
    WriteFile(image, FshImage(fixture.ImageLength, std::nullopt, 9));
  }
  QString Path(const char* name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  ArchiveFixture fixture;
  QString archive;
  QString image;
};

QString SizeLabel(const char* routine, const benchmark::State& state) {
  const int64_t size = state.range(0);
  return QStringLiteral("%1 %2").arg(routine, size >= (1 << 20)
                                                  ? QStringLiteral("%1 MiB").arg(size >> 20)
                                                  : QStringLiteral("%1 KiB").arg(size >> 10));
}

void CopyFloor(const QString& from, const QString& to) {
  QFile::remove(to);
  if (!QFile::copy(from, to)) std::abort();
}

void BM_LoadArchive(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = SizeLabel("LoadArchive", state);
  RecordingWindow window;
  window.State().ArchivePath = bench.archive;
  TimeAgainstFloor(
      state, name, [&] { benchmark::DoNotOptimize(LoadArchive(window)); },
      [&] {
        QFile file(bench.archive);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) std::abort();
        char header[16];
        benchmark::DoNotOptimize(file.read(header, sizeof header));
      });
  if (window.text[0] != "ab12cd3") FailBenchmark(state, "the archive did not load");
}

void BM_SaveArchive(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = SizeLabel("SaveArchive", state);
  RecordingWindow window;
  window.text[0] = "zz99yy8";
  window.State().SavePath = bench.Path("saved.big");
  bool saved = true;
  TimeAgainstFloor(
      state, name,
      [&] {
        window.State().ArchivePath = bench.archive;
        saved = SaveArchive(window) && saved;
      },
      [&] { CopyFloor(bench.archive, bench.Path("copy.big")); });
  if (!saved || !window.messages.empty()) FailBenchmark(state, "the archive was not saved");
}

void BM_ExportPortrait(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = SizeLabel("ExportPortrait", state);
  RecordingWindow window;
  window.State().ArchivePath = bench.archive;
  window.State().ExportPath = bench.Path("export.fsh");
  const qint64 offset = bench.fixture.OffsetOf(4);
  const qint64 length = bench.fixture.ImageLength;
  bool exported = true;
  TimeAgainstFloor(
      state, name, [&] { exported = ExportPortrait(window) && exported; },
      [&] {
        QFile in(bench.archive);
        QFile out(bench.Path("floor.fsh"));
        if (!in.open(QIODevice::ReadOnly) || !in.seek(offset) ||
            !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
          std::abort();
        const QByteArray bytes = in.read(length);
        benchmark::DoNotOptimize(out.write(bytes));
      });
  if (!exported || !window.messages.empty()) FailBenchmark(state, "the image was not exported");
}

void BM_ImportPortrait(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = SizeLabel("ImportPortrait", state);
  RecordingWindow window;
  window.State().ArchivePath = bench.archive;
  window.State().ImportPath = bench.image;
  bool imported = true;
  TimeAgainstFloor(
      state, name, [&] { imported = ImportPortrait(window) && imported; },
      [&] { CopyFloor(bench.archive, bench.Path("copy.big")); });
  if (!imported || !window.messages.empty()) FailBenchmark(state, "the image was not imported");
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(64 << 10)->Arg(16 << 20)->Arg(256 << 20)->UseManualTime()->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_LoadArchive)->Apply(Sizes);
BENCHMARK(BM_SaveArchive)->Apply(Sizes);
BENCHMARK(BM_ExportPortrait)->Apply(Sizes);
BENCHMARK(BM_ImportPortrait)->Apply(Sizes);
