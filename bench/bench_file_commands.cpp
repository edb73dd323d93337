// The four archive operations on synthetic archives of 64 KiB, 16 MiB and 256 MiB,
// each beside the plain file work it cannot beat.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

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
  explicit BenchArchive(int32_t size) : archiveSize(size) {
    fixture.imageLength = size - fixture.offsetOf(4);
    archive = dir.filePath("archive.big");
    writeFile(archive, fixture.build());
    image = dir.filePath("import.fsh");
    writeFile(image, fshImage(fixture.imageLength, std::nullopt, 9));
  }
  QString path(const char* name) const { return dir.filePath(name); }

  qint64 archiveSize;
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

// The floor of every writer: what a careful writer cannot do with less. The
// bytes are copied by the kernel into a new file beside the target, synced to
// the disk, and the new file is renamed over the target.
void kernelCopyFloor(const QString& from, qint64 offset, qint64 length, const QString& to) {
  const QByteArray source = QFile::encodeName(from);
  const QByteArray target = QFile::encodeName(to);
  const QByteArray temporary = target + ".floor";
  const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
  const int out = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (in < 0 || out < 0) std::abort();
  loff_t inOffset = offset;
  for (qint64 left = length; left > 0;) {
    const ssize_t copied = ::copy_file_range(in, &inOffset, out, nullptr, size_t(left), 0);
    if (copied <= 0) std::abort();
    left -= copied;
  }
  if (::fdatasync(out) != 0 || ::close(out) != 0 || ::close(in) != 0) std::abort();
  if (::rename(temporary.constData(), target.constData()) != 0) std::abort();
}

void BM_InspectArchive(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = sizeLabel("inspectArchive", state);
  bool loaded = true;
  timeAgainstFloor(
      state, name,
      [&] {
        const auto info = archive::inspectArchive(bench.archive);
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
        saved = archive::saveWithIdentifier(bench.archive, bench.path("saved.big"),
                                            archive::ArchiveKind::PlayerPackage, "zz99yy8") &&
                saved;
      },
      [&] { kernelCopyFloor(bench.archive, 0, bench.archiveSize, bench.path("copy.big")); });
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
      [&] {
        exported = archive::exportPortrait(bench.archive, bench.path("export.fsh")) && exported;
      },
      [&] { kernelCopyFloor(bench.archive, offset, length, bench.path("floor.fsh")); });
  if (!exported) failBenchmark(state, "the image was not exported");
}

void BM_ImportPortrait(benchmark::State& state) {
  BenchArchive bench(static_cast<int32_t>(state.range(0)));
  const QString name = sizeLabel("importPortrait", state);
  bool imported = true;
  timeAgainstFloor(
      state, name,
      [&] { imported = archive::importPortrait(bench.archive, bench.image) && imported; },
      [&] { kernelCopyFloor(bench.archive, 0, bench.archiveSize, bench.path("copy.big")); });
  if (!imported) failBenchmark(state, "the image was not imported");
}

// Every size three times over; the table gives the medians of all their
// iterations (see paired_timing.h). The large sizes run for at least a second of
// the routine's time each time, so that even 256 MiB rests on several iterations.
// 64 KiB takes Google Benchmark's default time, and the smoke test's shorter one.
void smallSize(benchmark::internal::Benchmark* b) {
  b->Arg(64 << 10)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);
}

void largeSizes(benchmark::internal::Benchmark* b) {
  b->Arg(16 << 20)->Arg(256 << 20)->MinTime(1.0)->Repetitions(3)->UseManualTime()->Unit(
      benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_InspectArchive)->Apply(smallSize);
BENCHMARK(BM_InspectArchive)->Apply(largeSizes);
BENCHMARK(BM_SaveWithIdentifier)->Apply(smallSize);
BENCHMARK(BM_SaveWithIdentifier)->Apply(largeSizes);
BENCHMARK(BM_ExportPortrait)->Apply(smallSize);
BENCHMARK(BM_ExportPortrait)->Apply(largeSizes);
BENCHMARK(BM_ImportPortrait)->Apply(smallSize);
BENCHMARK(BM_ImportPortrait)->Apply(largeSizes);
