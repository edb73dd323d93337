#pragma once

#include <QHash>
#include <QString>

namespace cli {

// One key for one file however a command line names it: "a.big", "./a.big",
// "x/../a.big", a symbolic or hard link to it. A file that exists is keyed by
// its identity; one that does not yet by its folder's real path and its name,
// after following a link to it, so that a link made before the file names it too.
class FileKeys {
 public:
  QString of(const QString& path);

 private:
  QHash<QString, QString> m_realFolders;  // each folder's real path, looked up once
};

}  // namespace cli
