#pragma once

#include <QString>
#include <optional>

namespace cli {

// Which of the program's own standard streams the file at path is, however
// it is named ("/dev/stdout", "log.txt" under `>> log.txt`): "standard
// output", say. Nothing when it is none of them. A file written over one of
// them would lose what the caller had in it, and what the program writes there.
std::optional<QString> standardStreamAt(const QString& path);

}  // namespace cli
