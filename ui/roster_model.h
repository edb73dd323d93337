#pragma once

#include <QAbstractListModel>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <deque>
#include <optional>
#include <vector>

#include "portrait/roster_entry.h"

namespace portrait {
class RosterReader;
}

namespace ui {

// The archives of one folder, one row each, in the folder listing's order.
// The folder is listed on a thread of its own and its rows come in a few
// hundred at a time; each is filled in when its archive has been read on the
// reader's threads, and a row's file that changes on disk is read again.
class RosterModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // Thumbnails are at most this many pixels on their longer side.
  static constexpr int ThumbnailSide = 96;
  // Rows added in one turn of the event loop: the sorting view and the grid
  // take 250 in about a millisecond.
  static constexpr size_t InsertedAtOnce = 250;
  // Thumbnails kept at most (about 74 MB at 96x96): a larger roster drops
  // those of tiles off screen, longest kept first, and reads them again when
  // they are scrolled to.
  static constexpr size_t KeptThumbnails = 2000;

  enum Role {
    FileNameRole = Qt::UserRole + 1,  // QString
    PathRole,                         // QString
    IdentifierRole,                   // QString; empty until read, or when refused
    StateRole,                        // TileState
    KindRole,                         // QString: "Player", "Jersey"; empty until read
    FormatRole,                       // QString: the pixel format's name
    ProblemRole,                      // QString: Load's reason, or why no thumbnail
    ThumbnailRole,                    // QImage
  };
  enum class TileState { Reading, Good, Refused, Undecodable };
  Q_ENUM(TileState)

  explicit RosterModel(QObject* parent = nullptr);
  ~RosterModel() override;

  // Lists the folder's .big files (not those of its subfolders) and starts
  // reading them.
  void setFolder(const QString& folder);
  const QString& folder() const { return m_folder; }
  // Lists the folder again: rows for new files, none for files gone, and
  // files whose size, time or inode changed are read again. Asked for while a
  // listing is on its way, the folder is listed once more after it.
  void refresh();
  // Reads these rows before any other (the tiles on screen), and reads again
  // those whose thumbnails were dropped.
  void readFirst(const QList<int>& rows);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  int rowOf(const QString& fileName) const;
  // How many rows have been read, of each state.
  int count(TileState state) const;

 signals:
  // A listing of the folder has been taken in: a row for each file listed.
  void listed();
  // Every row has been read.
  void allRead();

 private:
  struct Stamp {
    qint64 size = -1;
    QDateTime modified;
    QDateTime changed;  // a file renamed over it, or written in place
    bool operator==(const Stamp&) const = default;
  };
  struct Row {
    QString fileName;
    Stamp stamp;
    TileState state = TileState::Reading;
    portrait::RosterEntry entry;
    bool thumbnailDropped = false;
    bool readingAgain = false;  // its dropped thumbnail has been asked for
  };

  // What the lister found of each .big file, in name order.
  static std::vector<Row> listFolder(const QString& folder);
  void takeListing(quint64 generation, std::vector<Row> files);
  void insertSome();
  bool settled() const { return !m_listing && m_nextInsert == m_toInsert.size(); }

  void takeEntry(const QString& path, const portrait::RosterEntry& entry);
  void applyArrived();
  void applyEntry(const QString& path, const portrait::RosterEntry& entry);
  QString pathOf(const Row& row) const;
  void rebuildIndex();
  void keepThumbnail(const QString& fileName);

  QString m_folder;
  std::vector<Row> m_rows;
  QHash<QString, int> m_rowByName;
  int m_unread = 0;
  // Entries read and not yet shown: they are taken a few milliseconds' worth
  // at a time, so that a flood of them never holds the window.
  std::deque<std::pair<QString, portrait::RosterEntry>> m_arrived;
  QTimer m_applySoon;
  std::deque<QString> m_kept;  // rows holding a thumbnail, longest kept first
  QSet<QString> m_onScreen;    // rows last asked for first
  portrait::RosterReader* m_reader = nullptr;
  quint64 m_generation = 0;     // the folder shown; a listing of one before is dropped
  bool m_listing = false;       // a listing is on its way
  bool m_listAgain = false;     // the folder changed while it was being listed
  std::vector<Row> m_toInsert;  // listed, not yet rows, from m_nextInsert on
  size_t m_nextInsert = 0;
  QTimer m_insertSoon;
  // Last, so that it is gone first: a listing still running is waited for.
  QThreadPool m_lister;
};

}  // namespace ui
