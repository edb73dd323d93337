#include "ui/main_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>
#include <map>

#include "ui/about_dialog.h"
#include "ui/application_title.h"
#include "ui/file_command.h"
#include "ui/form_layout.h"
#include "ui/hot_spot.h"
#include "ui/qt_file_dialog.h"
#include "ui/skin.h"

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
                       std::unique_ptr<MessageBoxBackend> messages, QWidget* parent)
    : QWidget(parent),
      m_fileDialog(dialogs ? std::move(dialogs) : std::make_unique<QtFileDialogBackend>(this)),
      m_messages(messages ? std::move(messages) : std::make_unique<QtMessageBoxBackend>(this)) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  // Where the window system composites, the pixels outside the outline stay
  // transparent; elsewhere the mask alone cuts them away.
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
  initializeControls();
}

MainWindow::~MainWindow() { setMousePointer(MousePointer::Default); }

void MainWindow::createControls() {
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
  m_minimizeSpot->setAccessibleName(QStringLiteral("Minimize"));
  m_closeSpot->setAccessibleName(QStringLiteral("Close"));

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
  if (!loadCommand().routine(*this)) current = previous;
}

void MainWindow::loadArchive() { runFileCommand(*this, m_fileDialog, loadCommand()); }
void MainWindow::saveArchive() { runFileCommand(*this, m_fileDialog, saveCommand()); }
void MainWindow::importPortrait() { runFileCommand(*this, m_fileDialog, importCommand()); }
void MainWindow::exportPortrait() { runFileCommand(*this, m_fileDialog, exportCommand()); }

void MainWindow::showAbout() {
  // A fresh window every time; exec() returns when it has closed and keeps
  // the main window from taking input meanwhile.
  AboutDialog about(this);
  about.exec();
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!m_shape.isEmpty()) painter.setClipRegion(m_shape);
  painter.fillRect(rect(), Qt::white);
  const QImage& skin = skinPicture();
  painter.drawImage(FormLayout::pixelGeometry(skin.rect(), m_layoutTwips.x(), m_layoutTwips.y()),
                    skin);
}

// Any button, with any modifiers, moves the window as a press on a title bar
// would.
void MainWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (m_drag) return;
  QWindow* window = windowHandle();
  if (window && window->startSystemMove()) return;
  m_drag = Drag{event->button(), event->globalPosition(), pos()};
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!m_drag) return;
  move(m_drag->windowAt + (event->globalPosition() - m_drag->pressedAt).toPoint());
}

// The move ends when the button that started it is released.
void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
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
