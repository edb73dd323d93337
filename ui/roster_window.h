#pragma once

#include <QFileSystemWatcher>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;

namespace ui {

class MainWindow;
class RosterBatch;
class RosterModel;
class RosterSortFilter;

// A folder of archives as a grid of tiles: each archive's portrait, its
// identifier and file name, or why it cannot be shown. Tiles are filtered
// and sorted; Enter or a double click loads one into the main window, a
// picture dropped on one imports it there, and the pictures of many are
// exported or imported at once. The folder is watched: a file added, removed
// or rewritten shows at once.
class RosterWindow : public QWidget {
  Q_OBJECT

 public:
  explicit RosterWindow(MainWindow& mainWindow);
  ~RosterWindow() override;

  void setFolder(const QString& folder);
  const QString& folder() const;
  // Shows the window; placed beside anchor the first time.
  void openBeside(const QRect& anchor, bool place);

  RosterModel& model() const { return *m_model; }
  RosterSortFilter& tiles() const { return *m_tiles; }
  QListView& view() const { return *m_view; }
  // The archives the batch commands work on: the selected tiles' or, when
  // none is selected, every tile shown; in the tiles' order.
  QStringList batchArchives() const;
  bool batchRunning() const;

 public slots:
  void exportPictures();
  void importPictures();

 signals:
  // A batch of exports or imports has ended and its summary has been shown.
  void batchFinished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void readVisibleFirst();
  void watchFiles();
  void watchSome();
  void updateStatus();
  void loadTile(const QModelIndex& index);
  void startBatch(std::unique_ptr<RosterBatch> batch);
  void endBatch();
  bool takeTileDrop(QEvent* event);

  MainWindow& m_mainWindow;
  QString m_folderPath;
  RosterModel* m_model = nullptr;
  RosterSortFilter* m_tiles = nullptr;
  QLineEdit* m_filter = nullptr;
  QComboBox* m_order = nullptr;
  QListView* m_view = nullptr;
  QLabel* m_status = nullptr;
  QProgressBar* m_progress = nullptr;
  QPushButton* m_cancel = nullptr;
  QPushButton* m_export = nullptr;
  QPushButton* m_import = nullptr;
  QFileSystemWatcher m_watcher;
  QTimer m_refreshSoon;       // the folder changed: list it again, once things settle
  QTimer m_visibleFirstSoon;  // the tiles on screen changed
  QStringList m_toWatch;      // files still to be given a watch of their own
  QTimer m_watchSoon;
  std::unique_ptr<RosterBatch> m_batch;
};

}  // namespace ui
