#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

#include "portrait/picture_editing.h"
#include "ui/editor_command.h"
#include "ui/editor_window.h"
#include "ui/file_dialog.h"
#include "ui/form_region.h"
#include "ui/message_box.h"
#include "ui/picture_import_prompt.h"

class QDropEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class HotSpot;
class PortraitWindow;
class RosterWindow;
struct DroppedFile;

// The main window: its controls, the window state the file commands work on,
// and the handlers of every user action. It has no frame: the skin draws its
// surface, a region cut to the skin gives its outline, and a press on the bare
// surface moves it. Beside it, the portrait window shows the current archive's
// portrait; both take dropped files.
class MainWindow : public QWidget, public EditorWindow {
  Q_OBJECT

 public:
  // Without backends the window shows the real file dialog, message boxes and
  // "Import picture" dialog.
  explicit MainWindow(std::unique_ptr<FileDialogBackend> dialogs = nullptr,
                      std::unique_ptr<MessageBoxBackend> messages = nullptr,
                      std::unique_ptr<PictureImportPrompt> pictureImport = nullptr,
                      QWidget* parent = nullptr);
  ~MainWindow() override;

  // Opens the archive at path as if it had been chosen in the Load dialog,
  // with Load's checks and messages: a file named on the command line.
  void openArchive(const QString& path);
  // Imports the file at path as if it had been chosen in the Import dialog.
  void importFile(const QString& path);
  // Opens the roster window on the folder, beside this window.
  void openRoster(const QString& folder);
  // Imports the file at imagePath into the archive at archivePath, after the
  // question a dropped file gets: the archive is loaded first, as Load does.
  void importInto(const QString& archivePath, const QString& imagePath);
  // Starts a picture import from what the clipboard holds: a picture, or an
  // image or picture file (after the question a dropped file gets).
  void pasteFromClipboard();
  // Puts back the portrait the last import into the current archive replaced
  // (Ctrl+Z), and shows it; refuses with a message when the archive changed on
  // disk since. Each press goes one import further back.
  void undoImport();
  bool canUndoImport() const;
  // Opens the current portrait in an image editor (Ctrl+Shift+E): the program
  // the user chose, or the desktop's default for PNG pictures. Each complete
  // save of it there brings up the "Import picture" dialog with what was
  // saved; loading another archive or closing the editor ends that.
  void editPicture();
  // Asks for the program to edit portraits in, remembers it and edits the
  // portrait there.
  void editPictureWith();
  // Null while no portrait is out for editing.
  const portrait::PictureEditing* pictureEditing() const { return m_editing.data(); }

  QString identifierText(IdentifierBox box) const override;
  void setIdentifierText(IdentifierBox box, const QString& text) override;
  void setIdentifierEnabled(IdentifierBox box, bool enabled) override;
  void setSizeText(const QString& text) override;
  void setMousePointer(MousePointer pointer) override;
  void enableFileButtons(bool enabled) override;
  void showMessage(const QString& text, const QString& caption, MessageStyle style) override;
  std::optional<portrait::ImportSettings> askPictureImport(
      portrait::PictureImport& import) override;

  FileDialog& fileDialog() { return m_fileDialog; }
  // Null until the first archive has loaded.
  PortraitWindow* portraitWindow() const { return m_portraitWindow; }
  // Null until a roster has been opened.
  RosterWindow* rosterWindow() const { return m_rosterWindow; }
  MessageBoxBackend& messages() { return *m_messages; }
  // Every command of the window, in the order its context menu lists them.
  const QList<EditorCommand>& commands() const { return m_commands; }

  // The outline the window was given when it was created; empty if it could
  // not be computed for this screen.
  const QRegion& shape() const { return m_shape; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Files dropped on the portrait window or a text box are the main window's.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void loadArchive();
  void saveArchive();
  void importPortrait();
  void exportPortrait();
  void showAbout();
  void chooseRoster();
  void openCommandMenu(const QPoint& globalAt);

 private:
  void createControls();
  void createShortcuts();
  void initializeControls();
  QLineEdit* identifierEdit(IdentifierBox box) const;
  bool archiveLoaded() const;
  // Shows the current archive's portrait in the portrait window, opening it.
  void showPortrait();
  // The file the drag carries, if this window takes it now.
  std::optional<DroppedFile> acceptableDrop(const QDropEvent* event) const;
  bool takeDrag(QDropEvent* event);
  void takeDrop(QDropEvent* event);
  void openDroppedFile(const DroppedFile& file);
  void startPictureEditing(const QString& program);
  // The editor's session ends: its temporary folder goes once control is
  // back in the event loop (a signal of the session's may be running).
  void endPictureEditing();
  void importEditedPicture(const QImage& picture);

  FileDialog m_fileDialog;
  std::unique_ptr<MessageBoxBackend> m_messages;
  std::unique_ptr<PictureImportPrompt> m_pictureImport;
  PortraitWindow* m_portraitWindow = nullptr;
  QPointer<portrait::PictureEditing> m_editing;  // a child of this window
  QString m_editedArchive;
  QString m_editedPictureName;
  // A save that came while the "Import picture" dialog of the one before was open.
  std::optional<QImage> m_nextEdit;
  bool m_importingEdit = false;
  RosterWindow* m_rosterWindow = nullptr;
  QList<EditorCommand> m_commands;
  bool m_hourglass = false;
  TwipsPerPixel m_screenTwips;
  QPoint m_layoutTwips;  // whole twips per pixel for placing the controls
  QRegion m_shape;
  QImage m_face;  // a translucent window's skin within its outline

  // The window following the pointer, where the window system offers no move
  // of its own.
  struct Drag {
    Qt::MouseButton button = Qt::NoButton;
    QPointF pressedAt;  // global
    QPoint windowAt;
  };
  std::optional<Drag> m_drag;
  std::optional<Drag> m_rightPress;  // a right press that is not yet a drag

  QLineEdit* m_playerPackageEdit = nullptr;
  QLineEdit* m_jerseyNameEdit = nullptr;
  QLabel* m_sizeLabel = nullptr;
  QPushButton* m_loadButton = nullptr;
  QPushButton* m_saveButton = nullptr;
  QPushButton* m_importButton = nullptr;
  QPushButton* m_exportButton = nullptr;
  QPushButton* m_aboutButton = nullptr;
  HotSpot* m_minimizeSpot = nullptr;
  HotSpot* m_closeSpot = nullptr;
};

}  // namespace ui
