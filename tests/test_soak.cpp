// Ten thousand mixed commands through the window's buttons in one process:
// loads of good and bad archives, saves, imports and exports that succeed or
// are refused, and cancelled dialogs. Each command shows what it should, and at
// the end no file descriptor is left open and memory has not grown.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThreadPool>
#include <cstdio>
#include <random>

#include "support/archive_fixture.h"
#include "support/file_snapshot.h"
#include "support/scripted_dialogs.h"

#if defined(__SANITIZE_ADDRESS__)
#define CPE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CPE_ASAN 1
#endif
#endif

#ifdef CPE_ASAN
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr int Commands = 10000;
constexpr int WarmUp = 1000;
constexpr qint64 AllowedGrowth = 8 * 1024 * 1024;

int openDescriptors() {
  return static_cast<int>(QDir("/proc/self/fd")
                              .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                              .size());
}

qint64 residentBytes() {
  QFile statm("/proc/self/statm");
  if (!statm.open(QIODevice::ReadOnly)) return -1;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : -1;
}

// What the process holds: the heap in use under AddressSanitizer, whose
// quarantine of freed blocks makes the resident size grow by design; the
// resident size otherwise.
qint64 memoryInUse() {
#ifdef CPE_ASAN
  return static_cast<qint64>(__sanitizer_get_current_allocated_bytes());
#else
  return residentBytes();
#endif
}

// Qt's pooled threads, which draw and convert images, end 30 s after their
// last task and close their descriptors then. The run takes about that long,
// so they are kept for all of it: the count then measures the commands alone.
struct KeepPooledThreads {
  KeepPooledThreads() { QThreadPool::globalInstance()->setExpiryTimeout(-1); }
};

class Soak : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    return writeFile(dir.filePath(name), bytes);
  }

  // Answers the dialog, clicks, and checks how many messages the command showed.
  void run(const char* button, const std::optional<QString>& answer, size_t messages) {
    if (answer)
      ui.dialogs->nextFileName(*answer);
    else
      ui.dialogs->nextCancel();
    ui.click(button);
    if (ui.messages->messages.size() != messages && failures++ < 5) {
      ADD_FAILURE() << button << " " << (answer ? answer->toStdString() : "cancelled") << " showed "
                    << ui.messages->messages.size() << " messages, not " << messages;
    }
    // The recorders keep everything; only the window's own memory is measured.
    ui.messages->messages.clear();
    ui.dialogs->shown.clear();
  }

  KeepPooledThreads keepPooledThreads;  // before the window draws anything
  QTemporaryDir dir;
  WindowUnderTest ui;
  int failures = 0;
};

TEST_F(Soak, TenThousandMixedCommandsLeaveNoDescriptorOrMemoryBehind) {
  const QStringList good{write("player.big", ArchiveFixture::playerPackage("pkg0001").build()),
                         write("jersey.big", ArchiveFixture::jersey("jrs0001").build())};
  ArchiveFixture wrongSize;
  wrongSize.archiveSizeField = 1;
  ArchiveFixture notPortrait;
  notPortrait.headerLengthRaw = archive::ArchiveLayout::NotPortraitHeaderLength;
  ArchiveFixture badMarker;
  badMarker.marker = 0x42;
  const QStringList bad{write("wrong-size.big", wrongSize.build()),
                        write("not-portrait.big", notPortrait.build()),
                        write("bad-marker.big", badMarker.build()), dir.filePath("missing.big")};
  const int32_t imageLength = ArchiveFixture().imageLength;
  const QStringList images{write("same.fsh", fshImage(imageLength, std::nullopt, 3)),
                           write("longer.fsh", fshImage(imageLength + 40, std::nullopt, 4))};
  const QStringList badImages{write("bad-length.fsh", fshImage(100, 99)), write("empty.fsh", {})};

  std::mt19937 random(20240601);
  const auto pick = [&random](const QStringList& list) {
    return list[static_cast<qsizetype>(random() % list.size())];
  };
  const auto typeIdentifier = [this](const QString& text) {
    auto* playerPackage = ui.control<QLineEdit>("playerPackageEdit");
    (playerPackage->isEnabled() ? playerPackage : ui.control<QLineEdit>("jerseyNameEdit"))
        ->setText(text);
  };

  const int descriptorsBefore = openDescriptors();
  run("loadButton", good[0], 0);
  int descriptorsAfterWarmUp = 0;
  qint64 memoryAfterWarmUp = 0;
  QElapsedTimer timer;
  timer.start();
  for (int i = 1; i < Commands; ++i) {
    if (i == WarmUp) {
      QCoreApplication::processEvents();
      descriptorsAfterWarmUp = openDescriptors();
      memoryAfterWarmUp = memoryInUse();
    }
    switch (random() % 10) {
      case 0:
        run("loadButton", pick(good), 0);
        break;
      case 1:
        run("loadButton", pick(bad), 1);
        break;
      case 2:
        typeIdentifier(QStringLiteral("id%1").arg(i % 100000, 5, 10, QLatin1Char('0')));
        run("saveButton", dir.filePath(QStringLiteral("saved-%1.big").arg(random() % 4)), 0);
        break;
      case 3:
        typeIdentifier("short");
        run("saveButton", dir.filePath("refused.big"), 1);
        break;
      case 4:
        run("importButton", pick(images), 0);
        break;
      case 5:
        run("importButton", pick(badImages), 1);
        break;
      case 6:
      case 7:
        run("exportButton", dir.filePath(QStringLiteral("out-%1.fsh").arg(random() % 4)), 0);
        break;
      default: {
        const char* buttons[]{"loadButton", "saveButton", "importButton", "exportButton"};
        run(buttons[random() % 4], std::nullopt, 0);
      }
    }
    // Repaints and deferred deletions wait for the event loop, as between clicks.
    if (i % 64 == 0) QCoreApplication::processEvents();
    if (failures > 5) break;
  }
  QCoreApplication::processEvents();
  const qint64 elapsed = timer.elapsed();
  const int descriptorsAfter = openDescriptors();
  const qint64 memoryAfter = memoryInUse();

  std::printf(
      "soak: %d commands in %lld ms; descriptors %d before, %d after warm-up, %d after; "
      "memory in use %lld KiB after warm-up, %lld KiB after (resident %lld KiB)\n",
      Commands, static_cast<long long>(elapsed), descriptorsBefore, descriptorsAfterWarmUp,
      descriptorsAfter, static_cast<long long>(memoryAfterWarmUp / 1024),
      static_cast<long long>(memoryAfter / 1024), static_cast<long long>(residentBytes() / 1024));
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(descriptorsAfter, descriptorsBefore);
  EXPECT_EQ(descriptorsAfter, descriptorsAfterWarmUp);
  EXPECT_LT(memoryAfter - memoryAfterWarmUp, AllowedGrowth);
  // Nothing but the files the commands were asked to write.
  for (const QString& name : entryNames(dir.path()))
    EXPECT_TRUE(name.endsWith(".big") || name.endsWith(".fsh")) << name.toStdString();
}

}  // namespace
