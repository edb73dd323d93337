#include "ui/roster_model.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

#include "portrait/roster_reader.h"
#include "ui/messages.h"

namespace ui {

namespace {

QString kindName(archive::ArchiveKind kind) {
  return kind == archive::ArchiveKind::PlayerPackage
             ? QCoreApplication::translate("RosterModel", "Player")
             : QCoreApplication::translate("RosterModel", "Jersey");
}

}  // namespace

RosterModel::RosterModel(QObject* parent)
    : QAbstractListModel(parent), m_reader(new portrait::RosterReader(ThumbnailSide, this)) {
  connect(m_reader, &portrait::RosterReader::entryRead, this, &RosterModel::takeEntry);
  m_applySoon.setSingleShot(true);
  m_applySoon.setInterval(0);
  connect(&m_applySoon, &QTimer::timeout, this, &RosterModel::applyArrived);
}

RosterModel::~RosterModel() = default;

void RosterModel::setFolder(const QString& folder) {
  beginResetModel();
  m_reader->clear();
  m_arrived.clear();
  m_folder = folder;
  m_rows.clear();
  m_rowByName.clear();
  m_unread = 0;
  endResetModel();
  refresh();
}

QString RosterModel::pathOf(const Row& row) const { return QDir(m_folder).filePath(row.fileName); }

void RosterModel::refresh() {
  const QFileInfoList files =
      QDir(m_folder).entryInfoList({QStringLiteral("*.big")}, QDir::Files, QDir::Name);
  QSet<QString> listed;
  QStringList toRead;
  std::vector<Row> added;
  for (const QFileInfo& file : files) {
    const QString name = file.fileName();
    listed.insert(name);
    const Stamp stamp{file.size(), file.lastModified(), file.metadataChangeTime()};
    const auto found = m_rowByName.constFind(name);
    if (found == m_rowByName.cend()) {
      added.push_back(Row{name, stamp, TileState::Reading, {}});
      toRead << file.filePath();
      continue;
    }
    Row& row = m_rows[size_t(*found)];
    if (row.stamp == stamp) continue;
    row.stamp = stamp;
    if (row.state != TileState::Reading) ++m_unread;
    row.state = TileState::Reading;
    toRead << file.filePath();
  }
  // New rows in one insertion: a view and a sorting proxy take them at once.
  if (!added.empty()) {
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + added.size()) - 1);
    for (Row& row : added) {
      m_rowByName.insert(row.fileName, int(m_rows.size()));
      m_rows.push_back(std::move(row));
    }
    m_unread += int(added.size());
    endInsertRows();
  }
  // Rows of files gone, from the last so that the earlier rows keep their numbers.
  for (int i = int(m_rows.size()) - 1; i >= 0; --i) {
    if (listed.contains(m_rows[size_t(i)].fileName)) continue;
    beginRemoveRows({}, i, i);
    if (m_rows[size_t(i)].state == TileState::Reading) --m_unread;
    m_rows.erase(m_rows.begin() + i);
    endRemoveRows();
  }
  rebuildIndex();
  m_reader->read(toRead);
  if (m_unread == 0) emit allRead();
}

void RosterModel::rebuildIndex() {
  m_rowByName.clear();
  for (size_t i = 0; i < m_rows.size(); ++i) m_rowByName.insert(m_rows[i].fileName, int(i));
}

void RosterModel::readFirst(const QList<int>& rows) {
  QStringList paths;
  m_onScreen.clear();
  for (const int row : rows) {
    if (row < 0 || row >= int(m_rows.size())) continue;
    const Row& shown = m_rows[size_t(row)];
    m_onScreen.insert(shown.fileName);
    if (shown.state == TileState::Reading || shown.thumbnailDropped) paths << pathOf(shown);
  }
  if (!paths.isEmpty()) m_reader->readFirst(paths);
}

void RosterModel::takeEntry(const QString& path, const portrait::RosterEntry& entry) {
  m_arrived.emplace_back(path, entry);
  if (!m_applySoon.isActive()) m_applySoon.start();
}

void RosterModel::applyArrived() {
  constexpr qint64 SliceNs = 8'000'000;
  QElapsedTimer clock;
  clock.start();
  while (!m_arrived.empty() && clock.nsecsElapsed() < SliceNs) {
    auto [path, entry] = std::move(m_arrived.front());
    m_arrived.pop_front();
    applyEntry(path, entry);
  }
  if (!m_arrived.empty()) m_applySoon.start();
}

void RosterModel::applyEntry(const QString& path, const portrait::RosterEntry& entry) {
  // An entry read for a folder shown before this one is dropped.
  const QFileInfo file(path);
  if (file.absolutePath() != QFileInfo(m_folder).absoluteFilePath()) return;
  const auto found = m_rowByName.constFind(file.fileName());
  if (found == m_rowByName.cend()) return;
  Row& row = m_rows[size_t(*found)];
  if (row.state == TileState::Reading) --m_unread;
  row.entry = entry;
  row.thumbnailDropped = false;
  if (!entry.thumbnail.isNull()) keepThumbnail(row.fileName);
  row.state = entry.refusal           ? TileState::Refused
              : entry.portraitProblem ? TileState::Undecodable
                                      : TileState::Good;
  const QModelIndex changed = index(*found);
  emit dataChanged(changed, changed);
  if (m_unread == 0) emit allRead();
}

void RosterModel::keepThumbnail(const QString& fileName) {
  m_kept.push_back(fileName);
  // Each name is looked at once at most: those on screen go to the back.
  for (size_t looked = 0; m_kept.size() > KeptThumbnails && looked < m_kept.size(); ++looked) {
    const QString oldest = std::move(m_kept.front());
    m_kept.pop_front();
    if (m_onScreen.contains(oldest)) {
      m_kept.push_back(oldest);
      continue;
    }
    const int at = rowOf(oldest);
    if (at < 0) continue;
    Row& row = m_rows[size_t(at)];
    if (row.entry.thumbnail.isNull()) continue;
    row.entry.thumbnail = QImage();
    row.thumbnailDropped = true;
  }
}

int RosterModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_rows.size());
}

Qt::ItemFlags RosterModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
}

QVariant RosterModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(m_rows.size())) return {};
  const Row& row = m_rows[size_t(index.row())];
  const portrait::RosterEntry& entry = row.entry;
  const bool read = row.state != TileState::Reading;
  switch (role) {
    case Qt::DisplayRole:
    case FileNameRole:
      return row.fileName;
    case PathRole:
      return pathOf(row);
    case IdentifierRole:
      return read && entry.loadable() ? QString::fromLatin1(entry.identifier) : QString();
    case StateRole:
      return QVariant::fromValue(row.state);
    case KindRole:
      return read && entry.loadable() ? kindName(entry.kind) : QString();
    case FormatRole:
      return entry.bitmap ? entry.bitmap->formatName : QString();
    case ProblemRole:
    case Qt::ToolTipRole:
      if (entry.refusal)
        return errorMessage(FileCommandName::Load, *entry.refusal, row.fileName).text;
      if (entry.portraitProblem) return previewProblemText(*entry.portraitProblem);
      return role == Qt::ToolTipRole ? QVariant(row.fileName) : QVariant(QString());
    case ThumbnailRole:
      return entry.thumbnail;
    default:
      return {};
  }
}

int RosterModel::rowOf(const QString& fileName) const { return m_rowByName.value(fileName, -1); }

int RosterModel::count(TileState state) const {
  return int(std::count_if(m_rows.begin(), m_rows.end(),
                           [state](const Row& row) { return row.state == state; }));
}

}  // namespace ui
