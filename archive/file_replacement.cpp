#include "archive/file_replacement.h"

#include <QSaveFile>

#include "archive/command_error.h"

void ReplaceFileContents(const QString& path, QByteArrayView bytes) {
  ReplaceFileContents(path, {bytes});
}

void ReplaceFileContents(const QString& path, std::initializer_list<QByteArrayView> pieces) {
  if (path.isEmpty()) throw CommandError(52, QStringLiteral("Bad file name or number"));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw CommandError(file.error(), file.errorString());
  bool written = true;
  for (const QByteArrayView piece : pieces)
    written = written && file.write(piece.data(), piece.size()) == piece.size();
  // Flushed before the commit: Qt 6.4's commit renames the file even when the
  // flush it does itself writes only part of the buffer (e.g. a file-size limit).
  if (!written || !file.flush() || !file.commit())
    throw CommandError(file.error() ? file.error() : QFileDevice::WriteError, file.errorString());
}
