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
  m_insertSoon.setSingleShot(true);
  m_insertSoon.setInterval(0);
  connect(&m_insertSoon, &QTimer::timeout, this, &RosterModel::insertSome);
  m_lister.setMaxThreadCount(1);
}

RosterModel::~RosterModel() = default;

void RosterModel::setFolder(const QString& folder) {
  beginResetModel();
  m_reader->clear();
  m_arrived.clear();
  m_toInsert.clear();
  m_nextInsert = 0;
  m_insertSoon.stop();
  ++m_generation;
  m_listing = false;
  m_listAgain = false;
  m_folder = folder;
  m_rows.clear();
  m_rowByName.clear();
  m_unread = 0;
  endResetModel();
  refresh();
}

QString RosterModel::pathOf(const Row& row) const { return QDir(m_folder).filePath(row.fileName); }

// Listing a large folder and asking each file's size and times takes longer
// than a frame of the window: it is done on the lister's thread.
std::vector<RosterModel::Row> RosterModel::listFolder(const QString& folder) {
  const QFileInfoList files =
      QDir(folder).entryInfoList({QStringLiteral("*.big")}, QDir::Files, QDir::Name);
  std::vector<Row> listed;
  listed.reserve(size_t(files.size()));
  for (const QFileInfo& file : files)
    listed.push_back(Row{file.fileName(),
                         {file.size(), file.lastModified(), file.metadataChangeTime()},
                         TileState::Reading,
                         {}});
  return listed;
}

void RosterModel::refresh() {
  if (m_listing) {
    m_listAgain = true;
    return;
  }
  m_listing = true;
  m_lister.start([this, folder = m_folder, generation = m_generation] {
    std::vector<Row> files = listFolder(folder);
    // Queued to the model's thread; the model waits for this thread before it goes.
    QMetaObject::invokeMethod(
        this,
        [this, generation, files = std::move(files)]() mutable {
          takeListing(generation, std::move(files));
        },
        Qt::QueuedConnection);
  });
}

void RosterModel::takeListing(quint64 generation, std::vector<Row> files) {
  if (generation != m_generation) return;
  m_listing = false;
  // The folder changed while it was being listed: listed again while this
  // listing is taken in.
  if (m_listAgain) {
    m_listAgain = false;
    refresh();
  }
  m_nextInsert = 0;
  if (m_rows.empty()) {
    // Nothing to compare with: the first listing of a folder of thousands.
    m_toInsert = std::move(files);
    insertSome();
    return;
  }
  QSet<QString> listed;
  QStringList toRead;
  m_toInsert.clear();
  for (Row& file : files) {
    listed.insert(file.fileName);
    const auto found = m_rowByName.constFind(file.fileName);
    if (found == m_rowByName.cend()) {
      m_toInsert.push_back(std::move(file));
      continue;
    }
    Row& row = m_rows[size_t(*found)];
    if (row.stamp == file.stamp) continue;
    row.stamp = file.stamp;
    if (row.state != TileState::Reading) ++m_unread;
    row.state = TileState::Reading;
    toRead << pathOf(row);
  }
  // Rows of files gone, a run of neighbours at a time, from the last so that
  // the earlier rows keep their numbers.
  bool removed = false;
  for (int last = int(m_rows.size()) - 1; last >= 0;) {
    if (listed.contains(m_rows[size_t(last)].fileName)) {
      --last;
      continue;
    }
    int first = last;
    while (first > 0 && !listed.contains(m_rows[size_t(first) - 1].fileName)) --first;
    beginRemoveRows({}, first, last);
    const auto begin = m_rows.begin() + first;
    const auto end = m_rows.begin() + last + 1;
    m_unread -= int(
        std::count_if(begin, end, [](const Row& row) { return row.state == TileState::Reading; }));
    m_rows.erase(begin, end);
    endRemoveRows();
    removed = true;
    last = first - 1;
  }
  if (removed) rebuildIndex();
  m_reader->read(toRead);
  insertSome();
}

// New rows a batch a turn: one insertion of a thousand rows holds the window
// while the sorting view places each of them and the view lays out the grid.
void RosterModel::insertSome() {
  const size_t count = std::min(m_toInsert.size() - m_nextInsert, InsertedAtOnce);
  if (count > 0) {
    const int at = int(m_rows.size());
    QStringList paths;
    beginInsertRows({}, at, at + int(count) - 1);
    for (size_t i = 0; i < count; ++i) {
      Row& row = m_toInsert[m_nextInsert++];
      m_rowByName.insert(row.fileName, int(m_rows.size()));
      paths << pathOf(row);
      m_rows.push_back(std::move(row));
    }
    m_unread += int(count);
    endInsertRows();
    m_reader->read(paths);
  }
  if (m_nextInsert < m_toInsert.size()) {
    m_insertSoon.start();
    return;
  }
  m_toInsert.clear();
  m_nextInsert = 0;
  emit listed();
  if (m_unread == 0 && settled()) emit allRead();
}

void RosterModel::rebuildIndex() {
  m_rowByName.clear();
  for (size_t i = 0; i < m_rows.size(); ++i) m_rowByName.insert(m_rows[i].fileName, int(i));
}

void RosterModel::readFirst(const QList<int>& rows) {
  QStringList paths;
  QStringList again;
  m_onScreen.clear();
  for (const int row : rows) {
    if (row < 0 || row >= int(m_rows.size())) continue;
    Row& shown = m_rows[size_t(row)];
    m_onScreen.insert(shown.fileName);
    if (shown.thumbnailDropped && !shown.readingAgain) {
      shown.readingAgain = true;
      again << pathOf(shown);
    }
    if (shown.state == TileState::Reading || shown.readingAgain) paths << pathOf(shown);
  }
  // Every other row asked for is still to be read, being read or just read:
  // only its place in the queue changes.
  if (!again.isEmpty()) m_reader->read(again);
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
  row.readingAgain = false;
  if (!entry.thumbnail.isNull()) keepThumbnail(row.fileName);
  row.state = entry.refusal           ? TileState::Refused
              : entry.portraitProblem ? TileState::Undecodable
                                      : TileState::Good;
  const QModelIndex changed = index(*found);
  emit dataChanged(changed, changed);
  if (m_unread == 0 && settled()) emit allRead();
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
