#include "cli/standard_streams.h"

#include <sys/stat.h>
#include <unistd.h>

#include "archive/prepared_file.h"

namespace cli {

std::optional<QString> standardStreamAt(const QString& path) {
  const auto identity = archive::fileIdentity(path);
  if (!identity) return std::nullopt;
  static const struct {
    int descriptor;
    const char* name;
  } Streams[] = {{STDIN_FILENO, "standard input"},
                 {STDOUT_FILENO, "standard output"},
                 {STDERR_FILENO, "standard error"}};
  for (const auto& stream : Streams) {
    struct stat info {};
    if (::fstat(stream.descriptor, &info) == 0 && archive::FileIdentity::of(info) == *identity)
      return QString::fromLatin1(stream.name);
  }
  return std::nullopt;
}

}  // namespace cli
