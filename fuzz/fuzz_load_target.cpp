// LoadArchive over arbitrary archive bytes: it never crashes, never writes, and
// either shows an identifier of 7 characters with the file buttons enabled or
// shows exactly one message and changes no control.
#include <cstddef>
#include <cstdint>

#include "archive/load_archive.h"
#include "fuzz_files.h"
#include "support/archive_fixture.h"
#include "support/recording_window.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFolder folder;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  RecordingWindow window;
  window.State().ArchivePath = folder.Write("archive.big", bytes);

  const bool loaded = LoadArchive(window);

  FUZZ_CHECK(ReadFile(window.State().ArchivePath) == bytes);
  FUZZ_CHECK(window.pointer == MousePointer::Default);
  if (loaded) {
    FUZZ_CHECK(window.messages.empty());
    FUZZ_CHECK(window.fileButtons);
    FUZZ_CHECK(window.enabled[0] != window.enabled[1]);
    const QString& shown = window.enabled[0] ? window.text[0] : window.text[1];
    FUZZ_CHECK(shown.size() == 7);
    FUZZ_CHECK(size >= 98);
  } else {
    FUZZ_CHECK(window.messages.size() == 1);
    FUZZ_CHECK(!window.fileButtons && !window.enabled[0] && !window.enabled[1]);
    FUZZ_CHECK(window.text[0].isEmpty() && window.text[1].isEmpty() && window.showsize.isEmpty());
  }
  return 0;
}
