#include "ui/roster_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

#include "ui/application_title.h"
#include "ui/dropped_file.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "ui/portrait_window.h"
#include "ui/roster_batch.h"
#include "ui/roster_export_dialog.h"
#include "ui/roster_import_dialog.h"
#include "ui/roster_model.h"
#include "ui/roster_sort_filter.h"
#include "ui/roster_tile_delegate.h"

namespace ui {

namespace {

// A change to the folder is listed once things have settled: a command line
// writing a roster changes it hundreds of times a second.
constexpr int RefreshDelayMs = 150;
constexpr int Gap = 8;

}  // namespace

RosterWindow::RosterWindow(MainWindow& mainWindow)
    : QWidget(&mainWindow, Qt::Window), m_mainWindow(mainWindow) {
  setObjectName(QStringLiteral("RosterWindow"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  m_model = new RosterModel(this);
  m_tiles = new RosterSortFilter(this);
  m_tiles->setSourceModel(m_model);
  createControls();

  m_refreshSoon.setSingleShot(true);
  m_refreshSoon.setInterval(RefreshDelayMs);
  connect(&m_refreshSoon, &QTimer::timeout, m_model, &RosterModel::refresh);
  connect(m_model, &RosterModel::listed, this, &RosterWindow::watchFiles);
  connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
          [this] { m_refreshSoon.start(); });
  // inotify tells of a file written in place through the file itself.
  connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_refreshSoon.start(); });

  m_watchSoon.setSingleShot(true);
  m_watchSoon.setInterval(0);
  connect(&m_watchSoon, &QTimer::timeout, this, &RosterWindow::watchSome);

  m_visibleFirstSoon.setSingleShot(true);
  m_visibleFirstSoon.setInterval(0);
  connect(&m_visibleFirstSoon, &QTimer::timeout, this, &RosterWindow::readVisibleFirst);
  const auto visibleChanged = [this] { m_visibleFirstSoon.start(); };
  connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, visibleChanged);
  connect(m_tiles, &QAbstractItemModel::layoutChanged, this, visibleChanged);
  connect(m_tiles, &QAbstractItemModel::rowsInserted, this, visibleChanged);
  connect(m_tiles, &QAbstractItemModel::modelReset, this, visibleChanged);

  connect(m_model, &QAbstractItemModel::rowsInserted, this, &RosterWindow::updateStatus);
  connect(m_model, &QAbstractItemModel::rowsRemoved, this, &RosterWindow::updateStatus);
  connect(m_model, &RosterModel::allRead, this, &RosterWindow::updateStatus);
  connect(m_model, &QAbstractItemModel::modelReset, this, &RosterWindow::updateStatus);
}

RosterWindow::~RosterWindow() = default;

void RosterWindow::createControls() {
  m_filter = new QLineEdit(this);
  m_filter->setObjectName(QStringLiteral("filterEdit"));
  m_filter->setPlaceholderText(tr("Filter by identifier or file name"));
  m_filter->installEventFilter(this);
  connect(m_filter, &QLineEdit::textChanged, m_tiles, &RosterSortFilter::setFilterText);
  // The clear button shows only once there is text. Looking its icon up the
  // first time loads Qt's icon and picture plugins, which held the opening
  // window for several milliseconds: it is left to the first key typed.
  connect(
      m_filter, &QLineEdit::textChanged, m_filter,
      [this] { m_filter->setClearButtonEnabled(true); }, Qt::SingleShotConnection);

  m_order = new QComboBox(this);
  m_order->setObjectName(QStringLiteral("orderBox"));
  m_order->addItem(tr("File name"), int(RosterOrder::FileName));
  m_order->addItem(tr("Identifier"), int(RosterOrder::Identifier));
  m_order->addItem(tr("Kind"), int(RosterOrder::Kind));
  m_order->addItem(tr("Pixel format"), int(RosterOrder::PixelFormat));
  m_order->addItem(tr("Problems first"), int(RosterOrder::ProblemsFirst));
  connect(m_order, &QComboBox::currentIndexChanged, this,
          [this] { m_tiles->setOrder(static_cast<RosterOrder>(m_order->currentData().toInt())); });
  auto* orderLabel = new QLabel(tr("&Sort by:"), this);
  orderLabel->setBuddy(m_order);

  m_view = new QListView(this);
  m_view->setObjectName(QStringLiteral("tileView"));
  m_view->setViewMode(QListView::IconMode);
  m_view->setResizeMode(QListView::Adjust);
  m_view->setMovement(QListView::Static);
  m_view->setUniformItemSizes(true);
  m_view->setGridSize({RosterTileDelegate::TileWidth + 4, RosterTileDelegate::TileHeight + 4});
  m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_view->setItemDelegate(new RosterTileDelegate(m_view));
  m_view->setModel(m_tiles);
  m_view->setMouseTracking(true);
  m_view->setAcceptDrops(true);
  m_view->viewport()->setAcceptDrops(true);
  m_view->viewport()->installEventFilter(this);
  m_view->setDragDropMode(QAbstractItemView::DropOnly);
  m_view->setLayoutMode(QListView::Batched);
  m_view->setBatchSize(400);
  connect(m_view, &QListView::activated, this, &RosterWindow::loadTile);

  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("statusLabel"));
  m_status->setTextFormat(Qt::PlainText);
  // A long count must not widen the window.
  m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("batchProgress"));
  m_progress->hide();
  m_cancel = new QPushButton(tr("Cancel"), this);
  m_cancel->setObjectName(QStringLiteral("cancelButton"));
  m_cancel->hide();
  connect(m_cancel, &QPushButton::clicked, this, [this] {
    if (m_batch) m_batch->cancel();
    m_cancel->setEnabled(false);
  });
  m_export = new QPushButton(tr("&Export pictures..."), this);
  m_export->setObjectName(QStringLiteral("exportPicturesButton"));
  m_export->setToolTip(
      tr("Each selected archive's portrait to a folder (none selected: every tile shown)"));
  connect(m_export, &QPushButton::clicked, this, &RosterWindow::exportPictures);
  m_import = new QPushButton(tr("&Import pictures..."), this);
  m_import->setObjectName(QStringLiteral("importPicturesButton"));
  m_import->setToolTip(
      tr("A folder of pictures into the selected archives (none selected: every tile shown)"));
  connect(m_import, &QPushButton::clicked, this, &RosterWindow::importPictures);

  auto* top = new QHBoxLayout;
  top->addWidget(m_filter, 1);
  top->addSpacing(12);
  top->addWidget(orderLabel);
  top->addWidget(m_order);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_status, 1);
  bottom->addWidget(m_progress);
  bottom->addWidget(m_cancel);
  bottom->addSpacing(12);
  bottom->addWidget(m_export);
  bottom->addWidget(m_import);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_view, 1);
  layout->addLayout(bottom);

  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, this, [this] {
    m_filter->setFocus(Qt::ShortcutFocusReason);
    m_filter->selectAll();
  });
  resize(5 * (RosterTileDelegate::TileWidth + 4) + 40,
         3 * (RosterTileDelegate::TileHeight + 4) + 90);
}

void RosterWindow::setFolder(const QString& folder) {
  const QString absolute = QFileInfo(folder).absoluteFilePath();
  if (!m_watcher.directories().isEmpty()) m_watcher.removePaths(m_watcher.directories());
  if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
  m_toWatch.clear();
  m_watcher.addPath(absolute);
  setWindowTitle(tr("Roster - %1").arg(QDir(absolute).dirName()));
  m_folderPath = absolute;
  m_filter->setFocus();
  m_model->setFolder(absolute);
}

const QString& RosterWindow::folder() const { return m_folderPath; }

void RosterWindow::openBeside(const QRect& anchor, bool place) {
  if (place) {
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    // Beside the main window where the screen has room, as the portrait
    // window opens; on a small screen it may have to overlap it.
    const int room =
        std::max(available.right() - anchor.right(), anchor.left() - available.left()) - Gap;
    QSize size = this->size().boundedTo(available.size());
    if (room >= 3 * RosterTileDelegate::TileWidth) size.setWidth(std::min(size.width(), room));
    resize(size);
    move(
        besidePosition(anchor, frameGeometry().size().boundedTo(available.size()), available, Gap));
  }
  show();
  raise();
  activateWindow();
  m_filter->setFocus();
  m_visibleFirstSoon.start();
}

// A folder's watch tells of files added, removed or renamed over; a file
// written in place (one with hard links, or by a program that truncates it)
// only tells its own watch. Each inotify watch takes kernel memory, and a
// user has a limited number of them: a very large roster relies on its folder.
void RosterWindow::watchFiles() {
  constexpr qsizetype MostFileWatches = 4000;
  QStringList wanted;
  for (int row = 0; row < m_model->rowCount() && wanted.size() < MostFileWatches; ++row)
    wanted << m_model->index(row).data(RosterModel::PathRole).toString();
  const QStringList watched = m_watcher.files();
  const QSet<QString> wantedSet(wanted.begin(), wanted.end());
  const QSet<QString> watchedSet(watched.begin(), watched.end());
  QStringList gone;
  for (const QString& path : watched)
    if (!wantedSet.contains(path)) gone << path;
  m_toWatch.clear();
  for (const QString& path : wanted)
    if (!watchedSet.contains(path)) m_toWatch << path;
  if (!gone.isEmpty()) m_watcher.removePaths(gone);
  watchSome();
}

// A few hundred a turn of the event loop: each is a call into the kernel.
void RosterWindow::watchSome() {
  constexpr qsizetype Slice = 200;
  if (!m_toWatch.isEmpty()) m_watcher.addPaths(m_toWatch.mid(0, Slice));
  m_toWatch.remove(0, std::min(Slice, m_toWatch.size()));
  if (!m_toWatch.isEmpty()) m_watchSoon.start();
}

void RosterWindow::readVisibleFirst() {
  if (m_tiles->rowCount() == 0) return;
  const QRect viewport = m_view->viewport()->rect();
  const QModelIndex topLeft = m_view->indexAt(viewport.topLeft() + QPoint(4, 4));
  const int first = topLeft.isValid() ? topLeft.row() : 0;
  const QSize grid = m_view->gridSize();
  const int columns = std::max(1, viewport.width() / std::max(1, grid.width()));
  const int rows = viewport.height() / std::max(1, grid.height()) + 2;
  const int last = std::min(m_tiles->rowCount() - 1, first + columns * rows);
  QList<int> sourceRows;
  for (int row = first; row <= last; ++row)
    sourceRows << m_tiles->mapToSource(m_tiles->index(row, 0)).row();
  m_model->readFirst(sourceRows);
}

void RosterWindow::updateStatus() {
  using State = RosterModel::TileState;
  const int total = m_model->rowCount();
  QString text = total == 1 ? tr("1 archive") : tr("%1 archives").arg(total);
  if (const int refused = m_model->count(State::Refused))
    text += tr(", %1 cannot be loaded").arg(refused);
  if (const int undecodable = m_model->count(State::Undecodable))
    text += tr(", %1 with a portrait that cannot be decoded").arg(undecodable);
  if (const int reading = m_model->count(State::Reading)) text += tr(" (reading %1)").arg(reading);
  m_status->setText(text);
}

void RosterWindow::loadTile(const QModelIndex& index) {
  if (!index.isValid()) return;
  m_mainWindow.openArchive(index.data(RosterModel::PathRole).toString());
}

QStringList RosterWindow::batchArchives() const {
  QModelIndexList chosen = m_view->selectionModel()->selectedIndexes();
  std::sort(chosen.begin(), chosen.end(),
            [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  if (chosen.isEmpty())
    for (int row = 0; row < m_tiles->rowCount(); ++row) chosen << m_tiles->index(row, 0);
  QStringList paths;
  for (const QModelIndex& index : chosen) paths << index.data(RosterModel::PathRole).toString();
  return paths;
}

bool RosterWindow::batchRunning() const { return m_batch != nullptr; }

void RosterWindow::exportPictures() {
  if (m_batch) return;
  const QStringList archives = batchArchives();
  if (archives.isEmpty()) return;
  const auto folder =
      m_mainWindow.fileDialog().showFolder(tr("Export pictures to"), this->folder());
  if (!folder) return reportCommandFailure(m_mainWindow, folder.error());
  if (!folder->has_value()) return;
  RosterExportDialog dialog(archives, **folder, this);
  if (dialog.exec() != QDialog::Accepted) return;
  startBatch(RosterBatch::exporting(dialog.jobs(), dialog.picture()));
}

void RosterWindow::importPictures() {
  if (m_batch) return;
  const QStringList archives = batchArchives();
  if (archives.isEmpty()) return;
  const auto folder =
      m_mainWindow.fileDialog().showFolder(tr("Import pictures from"), this->folder());
  if (!folder) return reportCommandFailure(m_mainWindow, folder.error());
  if (!folder->has_value()) return;
  RosterImportDialog dialog(**folder, archives, this);
  if (dialog.exec() != QDialog::Accepted) return;
  startBatch(RosterBatch::importing(dialog.jobs(), dialog.choice()));
}

void RosterWindow::startBatch(std::unique_ptr<RosterBatch> batch) {
  m_batch = std::move(batch);
  m_progress->setRange(0, std::max(1, m_batch->total()));
  m_progress->setValue(0);
  m_progress->show();
  m_cancel->setEnabled(true);
  m_cancel->show();
  m_export->setEnabled(false);
  m_import->setEnabled(false);
  connect(m_batch.get(), &RosterBatch::progressed, m_progress, &QProgressBar::setValue);
  connect(m_batch.get(), &RosterBatch::finished, this, &RosterWindow::endBatch);
  m_batch->start();
}

void RosterWindow::endBatch() {
  const std::unique_ptr<RosterBatch> batch = std::move(m_batch);
  m_progress->hide();
  m_cancel->hide();
  m_export->setEnabled(true);
  m_import->setEnabled(true);
  // The files written show at once, not when the folder's watch next fires.
  m_model->refresh();
  QStringList failures;
  for (const auto& failure : batch->failures())
    failures << rosterFailureText(QFileInfo(failure.file).fileName(), failure.error);
  const ErrorMessage summary =
      rosterBatchSummary(batch->kind() == RosterBatch::Kind::Import, batch->written(),
                         batch->total(), batch->cancelled(), failures);
  m_mainWindow.showMessage(summary.text, summary.caption, summary.style);
  emit batchFinished();
}

bool RosterWindow::takeTileDrop(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  const auto file = droppedFile(drop->mimeData());
  const QModelIndex tile = m_view->indexAt(drop->position().toPoint());
  const bool takes = file && file->kind == DroppedFile::Kind::Image && tile.isValid() &&
                     tile.data(RosterModel::StateRole).value<RosterModel::TileState>() !=
                         RosterModel::TileState::Refused;
  if (!takes) {
    drop->ignore();
    return true;
  }
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (event->type() == QEvent::Drop) {
    // Asked once the drop has ended: a question must not hold the other
    // program's drag open.
    QTimer::singleShot(0, &m_mainWindow,
                       [this, archive = tile.data(RosterModel::PathRole).toString(),
                        image = file->path] { m_mainWindow.importInto(archive, image); });
  }
  return true;
}

bool RosterWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_view->viewport() &&
      (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
       event->type() == QEvent::Drop))
    return takeTileDrop(event);
  if (watched == m_filter && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && m_tiles->rowCount() > 0) {
    // Down leaves the filter for the grid, on its first tile.
    m_view->setFocus(Qt::OtherFocusReason);
    const QModelIndex first = m_tiles->index(0, 0);
    m_view->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace ui
