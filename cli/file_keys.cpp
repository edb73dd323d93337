#include "cli/file_keys.h"

#include <QFileInfo>

#include "archive/prepared_file.h"

namespace cli {

QString FileKeys::of(const QString& path) {
  if (const auto identity = archive::fileIdentity(path))
    return QStringLiteral("%1:%2").arg(identity->device).arg(identity->inode);
  // Where a write through a dangling link creates the file, as FileReplacement follows it.
  QFileInfo info(path);
  for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
  const QString folder = info.absolutePath();
  auto real = m_realFolders.find(folder);
  if (real == m_realFolders.end()) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    real = m_realFolders.insert(folder, canonical.isEmpty() ? folder : canonical);
  }
  return *real + QLatin1Char('/') + info.fileName();
}

}  // namespace cli
