#include "ui/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <map>
#include <utility>

#include "archive/prepared_file.h"
#include "portrait/mime_picture.h"
#include "portrait/picture_editing.h"
#include "portrait/portrait_preview.h"
#include "ui/about_dialog.h"
#include "ui/application_title.h"
#include "ui/command_routines.h"
#include "ui/dropped_file.h"
#include "ui/file_command.h"
#include "ui/form_layout.h"
#include "ui/hot_spot.h"
#include "ui/import_picture_dialog.h"
#include "ui/messages.h"
#include "ui/picture_editor_setting.h"
#include "ui/portrait_window.h"
#include "ui/qt_file_dialog.h"
#include "ui/roster_window.h"
#include "ui/skin.h"

namespace ui {

namespace {

// Twips per pixel as whole numbers for placing the controls; the design value
// where the screen's cannot be used.
QPoint layoutTwipsPerPixel(TwipsPerPixel screen) {
  const auto x = roundTwipsPerPixel(screen.x);
  const auto y = roundTwipsPerPixel(screen.y);
  if (!x || !y) return {FormLayout::DesignTwipsPerPixel, FormLayout::DesignTwipsPerPixel};
  return {*x, *y};
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<FileDialogBackend> dialogs,
                       std::unique_ptr<MessageBoxBackend> messages,
                       std::unique_ptr<PictureImportPrompt> pictureImport, QWidget* parent)
    : QWidget(parent),
      m_fileDialog(dialogs ? std::move(dialogs)
                           : std::make_unique<QtFileDialogBackend>(
                                 this,
                                 [this](const QString& question, const QString& caption) {
                                   return m_messages->ask(question, caption);
                                 })),
      m_messages(messages ? std::move(messages) : std::make_unique<QtMessageBoxBackend>(this)),
      m_pictureImport(pictureImport ? std::move(pictureImport)
                                    : std::make_unique<QtPictureImportPrompt>(this)) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  // X cuts the window to its outline (the mask set below). Elsewhere the pixels
  // outside the outline must be transparent, which needs a window with an
  // alpha channel: slower to show, so only where nothing else does the cutting.
  if (QGuiApplication::platformName() != QLatin1String("xcb"))
    setAttribute(Qt::WA_TranslucentBackground);
  setWindowTitle(productName());
  setWindowIcon(programIcon());
  m_screenTwips = screenTwipsPerPixel(screen());
  m_layoutTwips = layoutTwipsPerPixel(m_screenTwips);
  const int twipsX = m_layoutTwips.x();
  const int twipsY = m_layoutTwips.y();
  setFixedSize(FormLayout::pixelGeometry({0, 0, FormLayout::ClientWidth, FormLayout::ClientHeight},
                                         twipsX, twipsY)
                   .size());
  move(FormLayout::pixelGeometry({301, 232, 0, 0}, twipsX, twipsY).topLeft());
  createControls();
  createShortcuts();
  initializeControls();
  setAcceptDrops(true);
  m_playerPackageEdit->installEventFilter(this);
  m_jerseyNameEdit->installEventFilter(this);
}

MainWindow::~MainWindow() { setMousePointer(MousePointer::Default); }

void MainWindow::createControls() {
  // A line edit lays out its text as it is made, in the font it inherits, so the
  // window takes the text boxes' font first: the start then loads no font that
  // nothing shows.
  for (const FormLayout::ControlSpec& layout : FormLayout::controls())
    if (layout.kind == FormLayout::ControlKind::TextBox) {
      setFont(FormLayout::makeFont(layout.font));
      break;
    }
  std::map<int, QWidget*> byTabIndex;
  for (const FormLayout::ControlSpec& layout : FormLayout::controls()) {
    QWidget* control = nullptr;
    switch (layout.kind) {
      case FormLayout::ControlKind::Label: {
        auto* label = new QLabel(layout.caption, this);
        label->setAttribute(Qt::WA_TranslucentBackground);
        control = label;
        break;
      }
      case FormLayout::ControlKind::HotSpot:
        control = new HotSpot(this);
        break;
      case FormLayout::ControlKind::TextBox:
        control = new QLineEdit(layout.caption, this);
        break;
      case FormLayout::ControlKind::CommandButton:
        control = new QPushButton(layout.caption, this);
        break;
    }
    control->setObjectName(layout.name);
    control->setGeometry(
        FormLayout::pixelGeometry(layout.geometry, m_layoutTwips.x(), m_layoutTwips.y()));
    // A press on a control is the control's, never a move of the window.
    control->setAttribute(Qt::WA_NoMousePropagation);
    if (layout.kind != FormLayout::ControlKind::HotSpot)
      control->setFont(FormLayout::makeFont(layout.font));
    if (layout.kind == FormLayout::ControlKind::TextBox ||
        layout.kind == FormLayout::ControlKind::CommandButton)
      byTabIndex[layout.tabIndex] = control;
  }
  m_playerPackageEdit = findChild<QLineEdit*>("playerPackageEdit");
  m_jerseyNameEdit = findChild<QLineEdit*>("jerseyNameEdit");
  m_sizeLabel = findChild<QLabel*>("sizeLabel");
  m_loadButton = findChild<QPushButton*>("loadButton");
  m_saveButton = findChild<QPushButton*>("saveButton");
  m_importButton = findChild<QPushButton*>("importButton");
  m_exportButton = findChild<QPushButton*>("exportButton");
  m_aboutButton = findChild<QPushButton*>("aboutButton");
  m_minimizeSpot = findChild<HotSpot*>("minimizeSpot");
  m_closeSpot = findChild<HotSpot*>("closeSpot");
  m_minimizeSpot->setAccessibleName(QCoreApplication::translate("MainWindow", "Minimize"));
  m_closeSpot->setAccessibleName(QCoreApplication::translate("MainWindow", "Close"));

  QWidget* previous = nullptr;
  for (const auto& [tabIndex, control] : byTabIndex) {
    control->setFocusPolicy(Qt::StrongFocus);
    if (previous) setTabOrder(previous, control);
    previous = control;
  }

  connect(m_loadButton, &QPushButton::clicked, this, &MainWindow::loadArchive);
  connect(m_saveButton, &QPushButton::clicked, this, &MainWindow::saveArchive);
  connect(m_importButton, &QPushButton::clicked, this, &MainWindow::importPortrait);
  connect(m_exportButton, &QPushButton::clicked, this, &MainWindow::exportPortrait);
  connect(m_aboutButton, &QPushButton::clicked, this, &MainWindow::showAbout);
  connect(m_minimizeSpot, &HotSpot::clicked, this, &QWidget::showMinimized);
  // Closing the last window ends the program.
  connect(m_closeSpot, &HotSpot::clicked, this, &QWidget::close);
}

// The keys work from either window, and only where the button would: a
// disabled button's key does nothing. A text box keeps the keys it edits with.
// Beyond the five buttons of the skin, a command is found in the context menu.
void MainWindow::createShortcuts() {
  const auto button = [](QPushButton* pushButton) {
    return EditorCommand{pushButton->text(),
                         {},
                         [pushButton] { pushButton->click(); },
                         [pushButton] { return pushButton->isEnabled(); }};
  };
  const auto withKeys = [](EditorCommand command, QString text, const QKeySequence& keys) {
    command.text = std::move(text);
    command.keys = keys;
    return command;
  };
  const auto tr = [](const char* text) { return QCoreApplication::translate("MainWindow", text); };
  m_commands = {
      withKeys(button(m_loadButton), tr("Load"), QKeySequence(Qt::CTRL | Qt::Key_O)),
      withKeys(button(m_saveButton), tr("Save"), QKeySequence(Qt::CTRL | Qt::Key_S)),
      withKeys(button(m_importButton), tr("Import"), QKeySequence(Qt::CTRL | Qt::Key_I)),
      withKeys(button(m_exportButton), tr("Export"), QKeySequence(Qt::CTRL | Qt::Key_E)),
      {tr("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undoImport(); },
       [this] { return canUndoImport(); }},
      {tr("Edit picture..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
       [this] { editPicture(); }, [this] { return archiveLoaded(); }},
      {tr("Open roster..."), QKeySequence(Qt::CTRL | Qt::Key_R), [this] { chooseRoster(); }},
      withKeys(button(m_aboutButton), tr("About"), QKeySequence(Qt::Key_F1)),
      {tr("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); }},
  };
  // A key of a disabled button's command does nothing.
  addCommandShortcuts(this, m_commands);
  auto* paste = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_V), this);
  paste->setContext(Qt::ApplicationShortcut);
  connect(paste, &QShortcut::activated, this, [this] { pasteFromClipboard(); });
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  // A right press may start a move of the window; its menu opens on release.
  if (event->reason() == QContextMenuEvent::Mouse) {
    event->accept();
    return;
  }
  // The Menu key opens it at the focused control.
  QWidget* focused = focusWidget();
  openCommandMenu(
      mapToGlobal(focused && focused != this ? focused->geometry().center() : rect().center()));
}

void MainWindow::openCommandMenu(const QPoint& globalAt) {
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("commandMenu"));
  fillCommandMenu(menu, m_commands);
  menu.exec(globalAt);
}

void MainWindow::chooseRoster() {
  const QString start =
      m_rosterWindow ? m_rosterWindow->folder() : QFileInfo(state().archivePath).absolutePath();
  const auto chosen =
      m_fileDialog.showFolder(QCoreApplication::translate("MainWindow", "Open roster"), start);
  if (!chosen) {
    reportCommandFailure(*this, chosen.error());
    return;
  }
  if (chosen->has_value()) openRoster(**chosen);
}

void MainWindow::openRoster(const QString& folder) {
  const bool opened = m_rosterWindow != nullptr;
  if (!opened) m_rosterWindow = new RosterWindow(*this);
  m_rosterWindow->openBeside(frameGeometry(), !opened);
  m_rosterWindow->setFolder(folder);
}

void MainWindow::importInto(const QString& archivePath, const QString& imagePath) {
  // Import rewrites the archive: a drop could be a slip of the hand.
  const QString question =
      replacePortraitQuestion(QFileInfo(archivePath).fileName(), QFileInfo(imagePath).fileName());
  if (!m_messages->ask(question, productName())) return;
  if (!archive::isSameFile(state().archivePath, archivePath) || !archiveLoaded()) {
    openArchive(archivePath);
    if (!archiveLoaded() || state().archivePath != archivePath) return;
  }
  importFile(imagePath);
}

void MainWindow::initializeControls() {
  // Shaped once, before the window is first shown; a move or a new screen
  // never recomputes it. A screen whose twips per pixel give no outline
  // leaves the window rectangular rather than unusable.
  if (const auto region = makeFormRegion(1, 1, 0, 0, m_screenTwips)) {
    m_shape = region->region;
    setMask(m_shape);
  }

  // Until an archive has loaded, Load and About are the only commands.
  m_playerPackageEdit->setEnabled(false);
  m_jerseyNameEdit->setEnabled(false);
  m_playerPackageEdit->setText(QString());
  enableFileButtons(false);
  m_loadButton->setFocus();
}

void MainWindow::openArchive(const QString& path) {
  m_fileDialog.settings().fileName = path;
  QString& current = state().archivePath;
  const QString previous = current;
  current = path;
  if (loadCommand().routine(*this))
    showPortrait();
  else
    current = previous;
}

void MainWindow::editPicture() {
  if (archiveLoaded()) startPictureEditing(chosenPictureEditor());
}

void MainWindow::editPictureWith() {
  if (!archiveLoaded()) return;
  DialogRequest request;
  request.kind = DialogKind::Open;
  // Programs are usually found among the system's.
  request.fileName = chosenPictureEditor();
  if (request.fileName.isEmpty()) request.fileName = QStringLiteral("/usr/bin/");
  request.filter = QCoreApplication::translate("MainWindow", "Programs (*)|*");
  request.title = QCoreApplication::translate("MainWindow", "Edit picture with");
  request.flags = DialogFlags::HideReadOnly;
  const auto chosen = m_fileDialog.showOnce(request);
  if (!chosen) {
    reportCommandFailure(*this, chosen.error());
    return;
  }
  if (!chosen->has_value()) return;
  rememberPictureEditor(**chosen);
  startPictureEditing(**chosen);
}

void MainWindow::startPictureEditing(const QString& program) {
  endPictureEditing();
  auto editing = portrait::PictureEditing::start(state().archivePath);
  if (!editing) {
    const ErrorMessage message = pictureEditingMessage(editing.error());
    showMessage(message.text, message.caption, message.style);
    return;
  }
  if (!(*editing)->openIn(program)) {
    const ErrorMessage message =
        program.isEmpty() ? noPictureEditorMessage() : pictureEditorNotStartedMessage(program);
    showMessage(message.text, message.caption, message.style);
    editPictureWith();
    return;
  }
  m_editing = editing->release();
  m_editing->setParent(this);
  m_editedArchive = state().archivePath;
  m_editedPictureName = QFileInfo(m_editing->picturePath()).fileName();
  // Queued: the dialog a save brings up runs outside the session's own code.
  connect(m_editing, &portrait::PictureEditing::saved, this, &MainWindow::importEditedPicture,
          Qt::QueuedConnection);
  connect(m_editing, &portrait::PictureEditing::editorClosed, this, &MainWindow::endPictureEditing,
          Qt::QueuedConnection);
}

void MainWindow::endPictureEditing() {
  if (m_editing) m_editing->deleteLater();
  m_editing = nullptr;
  m_nextEdit.reset();
}

void MainWindow::importEditedPicture(const QImage& picture) {
  // A save announced just before its session ended belongs to no archive now.
  if (!m_editing) return;
  if (m_importingEdit) {
    m_nextEdit = picture;
    return;
  }
  m_importingEdit = true;
  const QString pictureName = m_editedPictureName;
  std::optional<QImage> next = picture;
  while (next) {
    if (importPictureInto(*this, *next, pictureName)) showPortrait();
    next = std::exchange(m_nextEdit, std::nullopt);
  }
  m_importingEdit = false;
}

void MainWindow::importFile(const QString& path) {
  QString& current = state().importPath;
  const QString previous = current;
  current = path;
  if (importCommand().routine(*this))
    showPortrait();
  else
    current = previous;
}

void MainWindow::pasteFromClipboard() {
  if (!archiveLoaded()) return;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return;
  if (const auto picture = portrait::pictureInMimeData(*data)) {
    if (!*picture) {
      const ErrorMessage message = clipboardPictureMessage(picture->error());
      showMessage(message.text, message.caption, message.style);
      return;
    }
    if (importPictureInto(*this, **picture,
                          QCoreApplication::translate("MainWindow", "Picture from the clipboard")))
      showPortrait();
    return;
  }
  if (const auto file = droppedFile(data); file && file->kind == DroppedFile::Kind::Image)
    openDroppedFile(*file);
}

void MainWindow::undoImport() {
  if (archiveLoaded() && undoImportIn(*this)) showPortrait();
}

bool MainWindow::canUndoImport() const {
  return archiveLoaded() && importHistory().canUndo(state().archivePath);
}

void MainWindow::loadArchive() {
  if (runFileCommand(*this, m_fileDialog, loadCommand())) showPortrait();
}

void MainWindow::saveArchive() {
  // The saved file is the current archive now; the portrait is the same, and
  // the picture out for editing goes on into it.
  if (!runFileCommand(*this, m_fileDialog, saveCommand())) return;
  if (m_portraitWindow) m_portraitWindow->setArchiveName(QFileInfo(state().archivePath).fileName());
  m_editedArchive = state().archivePath;
}

void MainWindow::importPortrait() {
  if (runFileCommand(*this, m_fileDialog, importCommand())) showPortrait();
}

void MainWindow::exportPortrait() { runFileCommand(*this, m_fileDialog, exportCommand()); }

bool MainWindow::archiveLoaded() const { return m_importButton->isEnabled(); }

void MainWindow::showPortrait() {
  // Another archive ends the editing of the last one's portrait.
  if (m_editing && !archive::isSameFile(m_editedArchive, state().archivePath)) endPictureEditing();
  if (!m_portraitWindow) {
    m_portraitWindow = new PortraitWindow(this);
    m_portraitWindow->setAcceptDrops(true);
    m_portraitWindow->installEventFilter(this);
    connect(m_portraitWindow, &PortraitWindow::editPictureRequested, this,
            &MainWindow::editPicture);
    connect(m_portraitWindow, &PortraitWindow::editPictureWithRequested, this,
            &MainWindow::editPictureWith);
  }
  m_portraitWindow->setArchiveName(QFileInfo(state().archivePath).fileName());
  m_portraitWindow->setPreview(portrait::previewPortrait(state().archivePath));
  m_portraitWindow->openBeside(frameGeometry());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  endPictureEditing();
  if (m_portraitWindow) m_portraitWindow->close();
  if (m_rosterWindow) m_rosterWindow->close();
  QWidget::closeEvent(event);
}

std::optional<DroppedFile> MainWindow::acceptableDrop(const QDropEvent* event) const {
  auto file = droppedFile(event->mimeData());
  if (!file || (file->kind == DroppedFile::Kind::Image && !archiveLoaded())) return std::nullopt;
  return file;
}

bool MainWindow::takeDrag(QDropEvent* event) {
  if (!acceptableDrop(event)) {
    event->ignore();
    return false;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  return true;
}

// The file is opened once the drop has ended: a question or a dialog must not
// hold the other program's drag open.
void MainWindow::takeDrop(QDropEvent* event) {
  const auto file = acceptableDrop(event);
  if (!takeDrag(event)) return;
  QTimer::singleShot(0, this, [this, file = *file] { openDroppedFile(file); });
}

void MainWindow::openDroppedFile(const DroppedFile& file) {
  if (file.kind == DroppedFile::Kind::Archive) {
    openArchive(file.path);
    return;
  }
  if (file.kind == DroppedFile::Kind::Folder) {
    openRoster(file.path);
    return;
  }
  if (!archiveLoaded()) return;
  // Import rewrites the archive: a drop could be a slip of the hand.
  const QString question = replacePortraitQuestion(QFileInfo(state().archivePath).fileName(),
                                                   QFileInfo(file.path).fileName());
  if (m_messages->ask(question, productName())) importFile(file.path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) { takeDrag(event); }
void MainWindow::dragMoveEvent(QDragMoveEvent* event) { takeDrag(event); }
void MainWindow::dropEvent(QDropEvent* event) { takeDrop(event); }

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool dragEvent = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
                         event->type() == QEvent::Drop;
  if (!dragEvent) return QWidget::eventFilter(watched, event);
  auto* drop = static_cast<QDropEvent*>(event);
  // A text box takes dropped text as ever; a file for the editor goes past it.
  if (watched != m_portraitWindow && !acceptableDrop(drop)) return false;
  if (event->type() == QEvent::Drop)
    takeDrop(drop);
  else
    takeDrag(drop);
  return true;
}

void MainWindow::showAbout() {
  // A fresh window every time; exec() returns when it has closed and keeps
  // the main window from taking input meanwhile.
  AboutDialog about(this);
  about.exec();
}

void MainWindow::paintEvent(QPaintEvent*) {
  const QRect skinRect =
      FormLayout::pixelGeometry(skinPicture().rect(), m_layoutTwips.x(), m_layoutTwips.y());
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  if (!testAttribute(Qt::WA_TranslucentBackground)) {
    // The mask hides what lies outside the outline.
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(skinRect, skinPicture());
    return;
  }
  if (m_face.size() != size()) m_face = outlinedSkin(size(), skinRect, m_shape);
  painter.drawImage(0, 0, m_face);
}

// Any button, with any modifiers, moves the window as a press on a title bar
// would.
void MainWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (m_drag) return;
  // A right click opens the command menu; a right drag still moves the window,
  // once the pointer has gone far enough to tell the two apart.
  if (event->button() == Qt::RightButton) {
    m_rightPress = Drag{Qt::RightButton, event->globalPosition(), pos()};
    return;
  }
  QWindow* window = windowHandle();
  if (window && window->startSystemMove()) return;
  m_drag = Drag{event->button(), event->globalPosition(), pos()};
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (m_rightPress && (event->globalPosition() - m_rightPress->pressedAt).manhattanLength() >=
                          QApplication::startDragDistance()) {
    m_drag = m_rightPress;
    m_rightPress.reset();
  }
  if (!m_drag) return;
  move(m_drag->windowAt + (event->globalPosition() - m_drag->pressedAt).toPoint());
}

// The move ends when the button that started it is released.
void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (m_rightPress && event->button() == Qt::RightButton) {
    m_rightPress.reset();
    openCommandMenu(event->globalPosition().toPoint());
    return;
  }
  if (m_drag && event->button() == m_drag->button) m_drag.reset();
}

QLineEdit* MainWindow::identifierEdit(IdentifierBox box) const {
  return box == IdentifierBox::PlayerPackage ? m_playerPackageEdit : m_jerseyNameEdit;
}

QString MainWindow::identifierText(IdentifierBox box) const { return identifierEdit(box)->text(); }

void MainWindow::setIdentifierText(IdentifierBox box, const QString& text) {
  identifierEdit(box)->setText(text);
}

void MainWindow::setIdentifierEnabled(IdentifierBox box, bool enabled) {
  identifierEdit(box)->setEnabled(enabled);
}

void MainWindow::setSizeText(const QString& text) { m_sizeLabel->setText(text); }

void MainWindow::setMousePointer(MousePointer pointer) {
  const bool hourglass = pointer == MousePointer::Hourglass;
  if (hourglass == m_hourglass) return;
  m_hourglass = hourglass;
  if (hourglass)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

void MainWindow::enableFileButtons(bool enabled) {
  m_saveButton->setEnabled(enabled);
  m_importButton->setEnabled(enabled);
  m_exportButton->setEnabled(enabled);
}

void MainWindow::showMessage(const QString& text, const QString& caption, MessageStyle style) {
  m_messages->show(text, caption, style);
}

std::optional<portrait::ImportSettings> MainWindow::askPictureImport(
    portrait::PictureImport& import) {
  return m_pictureImport->ask(import);
}

}  // namespace ui
