// Load with the portrait shown beside the main window, against the same load
// without it: what the preview adds to a load of an archive whose portrait is
// 256x256 DXT5 with 8 mipmaps.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "fsh/fsh_layout.h"
#include "paired_timing.h"
#include "support/archive_fixture.h"
#include "support/portrait_fixture.h"
#include "ui/command_routines.h"
#include "ui/main_window.h"
#include "ui/portrait_window.h"

namespace {

void BM_LoadWithPreview(benchmark::State& state) {
  QTemporaryDir dir;
  const QString archive =
      writeFile(dir.filePath("ab12cd3.big"),
                ArchiveFixture::playerPackage()
                    .withImage(portraitImage(fsh::Code::Dxt5, paintedPortrait({256, 256}), 8))
                    .build());
  ui::MainWindow window;
  window.show();
  QApplication::processEvents();
  window.state().archivePath = archive;
  bool shown = true;
  timeAgainstFloor(
      state, QStringLiteral("Load 256x256 DXT5 with preview vs without"),
      [&] {
        window.openArchive(archive);
        // Painted now, not whenever the event loop gets to it.
        if (ui::PortraitWindow* portrait = window.portraitWindow()) portrait->repaint();
        QApplication::processEvents();
        shown = shown && window.portraitWindow() && window.portraitWindow()->isVisible() &&
                !window.portraitWindow()->picture().isNull();
      },
      [&] {
        shown = ui::loadArchiveInto(window) && shown;
        QApplication::processEvents();
      });
  if (!shown) failBenchmark(state, "the portrait was not shown");
}

}  // namespace

BENCHMARK(BM_LoadWithPreview)->UseManualTime()->Unit(benchmark::kMillisecond);
