#include "portrait/picture_editing.h"

#include <signal.h>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <cerrno>

#include "fileio/file_reader.h"
#include "portrait/input_file.h"
#include "portrait/portrait_picture.h"

namespace portrait {

namespace {

const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);
// An empty IEND chunk: its length, type and CRC.
const QByteArray PngEnd = QByteArray::fromHex("0000000049454e44ae426082");
const QByteArray JpegStart("\xff\xd8", 2);
const QByteArray JpegEnd("\xff\xd9", 2);

// Whether a process runs (a zombie has ended: whoever adopted it may reap it late).
bool isRunning(qint64 processId) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(processId));
  if (stat.open(QIODevice::ReadOnly)) {
    const QByteArray line = stat.readAll();
    // "pid (name) S ...": the state follows the name's closing parenthesis.
    const qsizetype end = line.lastIndexOf(')');
    return end >= 0 && end + 2 < line.size() && line[end + 2] != 'Z' && line[end + 2] != 'X';
  }
  return ::kill(pid_t(processId), 0) == 0 || errno == EPERM;
}

}  // namespace

std::optional<QImage> completePicture(const QByteArray& bytes, const QString& fileName) {
  if (bytes.startsWith(PngSignature) && !bytes.endsWith(PngEnd)) return std::nullopt;
  if (bytes.startsWith(JpegStart) && !bytes.endsWith(JpegEnd)) return std::nullopt;
  auto picture = portrait::readPicture(bytes, fileName);
  if (!picture) return std::nullopt;
  return std::move(*picture);
}

PictureEditing::PictureEditing()
    : m_folder(QDir(QDir::tempPath()).filePath(QStringLiteral("portrait-edit-XXXXXX"))) {
  m_settle.setSingleShot(true);
  connect(&m_settle, &QTimer::timeout, this, &PictureEditing::checkFile);
  // An editor that saves by renaming a new file over the old one replaces
  // the file watched: the folder's change tells of it.
  connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &PictureEditing::fileTouched);
  connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &PictureEditing::fileTouched);
  m_programCheck.setInterval(250);
  connect(&m_programCheck, &QTimer::timeout, this, &PictureEditing::checkProgram);
}

PictureEditing::~PictureEditing() = default;

Expected<std::unique_ptr<PictureEditing>, Error> PictureEditing::start(const QString& archivePath) {
  std::unique_ptr<PictureEditing> editing(new PictureEditing);
  if (!editing->m_folder.isValid()) {
    return Unexpected(Error::archive(archive::ArchiveError(
        archive::ArchiveError::Kind::SystemError, 0, editing->m_folder.errorString(), QString())));
  }
  editing->m_picturePath = editing->m_folder.filePath(QFileInfo(archivePath).completeBaseName() +
                                                      QStringLiteral(".png"));
  if (auto written = exportPortraitPicture(archivePath, editing->m_picturePath); !written)
    return Unexpected(std::move(written).error());
  // What the session wrote is no save of the user's.
  editing->m_announced = editing->readSaved().value_or(QByteArray());
  editing->m_seen = editing->m_announced;
  editing->m_watcher.addPath(editing->m_picturePath);
  editing->m_watcher.addPath(editing->m_folder.path());
  return editing;
}

bool PictureEditing::openIn(const QString& program) {
  if (program.isEmpty()) return QDesktopServices::openUrl(QUrl::fromLocalFile(m_picturePath));
  // Detached: the editor outlives this session and this program, with
  // whatever the user has not saved yet.
  qint64 processId = 0;
  if (!QProcess::startDetached(program, {m_picturePath}, m_folder.path(), &processId)) return false;
  m_programId = processId;
  m_programRunning.start();
  m_programCheck.start();
  return true;
}

void PictureEditing::fileTouched() {
  // A file replaced by a rename is watched no longer.
  if (!m_watcher.files().contains(m_picturePath) && QFileInfo::exists(m_picturePath))
    m_watcher.addPath(m_picturePath);
  m_settle.start(m_settleTime);
}

std::optional<QByteArray> PictureEditing::readSaved() const {
  const auto file = fileio::FileReader::open(m_picturePath);
  if (!file || file->length() > MaxPictureFileSize) return std::nullopt;
  auto bytes = file->readAt(0, file->length());
  if (!bytes) return std::nullopt;
  return std::move(*bytes);
}

// A save is read once the file has stayed the same for a whole settle time.
void PictureEditing::checkFile() {
  const auto bytes = readSaved();
  if (!bytes) return;  // gone for a moment while a new one is renamed over it
  if (*bytes != m_seen) {
    m_seen = *bytes;
    m_settle.start(m_settleTime);
    return;
  }
  announceIfComplete(*bytes);
}

void PictureEditing::announceIfComplete(const QByteArray& bytes) {
  // A file left half-written waits for the next save.
  if (bytes == m_announced) return;
  auto picture = completePicture(bytes, m_picturePath);
  if (!picture) return;
  m_announced = bytes;
  emit saved(*picture);
}

void PictureEditing::checkProgram() {
  if (isRunning(m_programId)) return;
  m_programCheck.stop();
  if (m_programRunning.elapsed() < HandOverTime.count()) return;
  // The program has ended: what it left is final.
  m_settle.stop();
  if (const auto bytes = readSaved()) {
    m_seen = *bytes;
    announceIfComplete(*bytes);
  }
  emit editorClosed();
}

}  // namespace portrait
