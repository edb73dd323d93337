#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

#include "common/expected.h"
#include "portrait/portrait_error.h"

namespace portrait {

// The picture the bytes of a saved file hold, when they hold all of it: they
// decode, and a PNG or JPEG file ends in its end marker (Qt reads a file cut
// short without complaint). Nothing for a file still being written.
std::optional<QImage> completePicture(const QByteArray& bytes, const QString& fileName);

// A portrait out for editing in another program: written as a PNG into a
// private temporary folder (mode 0700) and watched there. Each save of it that
// leaves a whole picture is announced once, after the file has stayed the
// same for the settle time; a file still being written, or left half-written,
// is not. The folder and the picture go with the session.
class PictureEditing : public QObject {
  Q_OBJECT

 public:
  // A program that ends within this time after its start has handed the file
  // to a copy of itself that was already running: the session goes on.
  static constexpr std::chrono::milliseconds HandOverTime{2000};

  // Writes the portrait of the archive as <archive's name>.png.
  static Expected<std::unique_ptr<PictureEditing>, Error> start(const QString& archivePath);
  ~PictureEditing() override;

  const QString& picturePath() const { return m_picturePath; }
  QString folderPath() const { return m_folder.path(); }

  // Opens the picture in program, given the picture's path as its only
  // argument, or without one in the desktop's default program for it. False
  // when it could not be started.
  bool openIn(const QString& program);

  void setSettleTime(std::chrono::milliseconds time) { m_settleTime = time; }

 signals:
  // A complete save of the picture, which differs from the last one announced.
  void saved(const QImage& picture);
  // The program openIn started has ended (after a last save was announced).
  void editorClosed();

 private:
  PictureEditing();
  void fileTouched();
  void checkFile();
  void checkProgram();
  std::optional<QByteArray> readSaved() const;
  void announceIfComplete(const QByteArray& bytes);

  QTemporaryDir m_folder;
  QString m_picturePath;
  QFileSystemWatcher m_watcher;
  QTimer m_settle;
  std::chrono::milliseconds m_settleTime{300};
  QByteArray m_seen;       // the content at the last look
  QByteArray m_announced;  // the content last announced, or written at the start
  qint64 m_programId = 0;
  QElapsedTimer m_programRunning;
  QTimer m_programCheck;
};

}  // namespace portrait
