// A roster's import from a folder of pictures, as the command line's import
// --from makes it: 100 archives each taking a 256x256 picture as its 256x256
// DXT5 portrait with 8 mipmaps, all at once on every core, against the same
// 100 imports one after the other. Nothing is written: this is the encoding.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <vector>

#include "fsh/fsh_layout.h"
#include "paired_timing.h"
#include "portrait/roster_import.h"
#include "portrait/service.h"
#include "support/archive_fixture.h"
#include "support/fsh_fixture.h"
#include "support/portrait_fixture.h"

namespace {

void BM_PictureBatch(benchmark::State& state) {
  const int count = int(state.range(0));
  QTemporaryDir dir;
  const QByteArray archive =
      ArchiveFixture::playerPackage()
          .withImage(portraitImage(fsh::Code::Dxt5, smoothPicture({256, 256}), 8))
          .build();
  std::vector<portrait::RosterImportJob> jobs;
  for (int i = 0; i < count; ++i) {
    const QString name = QStringLiteral("p%1").arg(i, 6, 10, QLatin1Char('0'));
    portrait::RosterImportJob job;
    job.archivePath = writeFile(dir.filePath(name + QStringLiteral(".big")), archive);
    job.inputPath = dir.filePath(name + QStringLiteral(".png"));
    paintedPortrait({256, 256}, true).save(job.inputPath);
    jobs.push_back(job);
  }
  const portrait::ImportChoice choice;
  bool allMade = true;
  timeAgainstFloor(
      state, QStringLiteral("import --from of %1 pictures vs one by one").arg(count),
      [&] {
        for (const auto& made : portrait::prepareRosterImports(jobs, choice, archive::Making::Plan))
          allMade = allMade && made.file;
      },
      [&] {
        for (const auto& job : jobs) {
          allMade = allMade && portrait::importPictureFile(job.archivePath, job.inputPath, choice);
        }
      });
  if (!allMade) failBenchmark(state, "a picture was not made into its portrait");
}

}  // namespace

BENCHMARK(BM_PictureBatch)
    ->Arg(100)
    ->Arg(4)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
