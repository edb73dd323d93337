#include "ui/portrait_window.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "portrait/bitmap_details.h"
#include "ui/messages.h"
#include "ui/portrait_view.h"
#include "ui/skin.h"
#include "ui/skin_layout.h"

QPoint besidePosition(const QRect& anchor, QSize size, const QRect& available, int gap) {
  const int right = anchor.right() + 1 + gap;
  const int left = anchor.left() - gap - size.width();
  const int roomRight = available.right() + 1 - right;
  const int roomLeft = anchor.left() - gap - available.left();
  int x = right;
  if (roomRight < size.width() && (roomLeft >= size.width() || roomLeft > roomRight)) x = left;
  const int y = std::clamp(anchor.top(), available.top(),
                           std::max(available.top(), available.bottom() + 1 - size.height()));
  return {x, y};
}

PortraitWindow::PortraitWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
  setObjectName(QStringLiteral("PortraitWindow"));
  setWindowIcon(programIcon());
  // Opening after a load leaves the keyboard where the user is typing.
  setAttribute(Qt::WA_ShowWithoutActivating);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, PortraitView::surface());
  colours.setColor(QPalette::WindowText, SkinLayout::White);
  setPalette(colours);
  setAutoFillBackground(true);

  m_view = new PortraitView(this);
  m_details = new QLabel(this);
  m_details->setObjectName(QStringLiteral("portraitDetails"));
  m_details->setAlignment(Qt::AlignCenter);
  m_details->setTextFormat(Qt::PlainText);
  m_details->setContentsMargins(PortraitView::Margin, 0, PortraitView::Margin,
                                PortraitView::Margin);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_view, 1);
  layout->addWidget(m_details);

  auto* copy = new QShortcut(QKeySequence::Copy, this);
  connect(copy, &QShortcut::activated, this, &PortraitWindow::copyPicture);

  // The main window holds the keys of these, which work from either window;
  // the menu only shows them.
  setContextMenuPolicy(Qt::ActionsContextMenu);
  const auto addMenuEntry = [this](const QString& text, const QKeySequence& keys, auto signal) {
    auto* action = new QAction(text, this);
    if (!keys.isEmpty())
      action->setText(text + QLatin1Char('\t') + keys.toString(QKeySequence::NativeText));
    connect(action, &QAction::triggered, this, signal);
    addAction(action);
  };
  addMenuEntry(QCoreApplication::translate("PortraitWindow", "Edit picture..."),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
               &PortraitWindow::editPictureRequested);
  addMenuEntry(QCoreApplication::translate("PortraitWindow", "Edit picture with..."),
               QKeySequence(), &PortraitWindow::editPictureWithRequested);
}

void PortraitWindow::setArchiveName(const QString& archiveName) {
  setWindowTitle(QCoreApplication::translate("PortraitWindow", "Portrait - ") + archiveName);
}

void PortraitWindow::setPreview(const portrait::PortraitPreview& preview) {
  m_view->setPicture(preview.picture,
                     preview.problem ? previewProblemText(*preview.problem) : QString());
  const QString details = preview.bitmap ? portrait::bitmapDetails(*preview.bitmap) : QString();
  m_details->setText(details);
  m_details->setVisible(!details.isEmpty());
}

const QImage& PortraitWindow::picture() const { return m_view->picture(); }

QString PortraitWindow::details() const { return m_details->text(); }

void PortraitWindow::openBeside(const QRect& anchor) {
  // An open window keeps the size and place the user gave it while the
  // portraits it shows keep their size; its view then zooms to fit.
  if (isVisible() && picture().size() == m_sizedFor) return;
  m_sizedFor = picture().size();
  const QScreen* screen = QGuiApplication::screenAt(anchor.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect available = screen->availableGeometry();

  // The room on the roomier side, less the margins around the picture, the
  // details line and the window system's frame.
  const QSize chrome(
      2 * PortraitView::Margin + FrameAllowance.width(),
      2 * PortraitView::Margin + m_details->sizeHint().height() + FrameAllowance.height());
  const int sideRoom =
      std::max(available.right() - anchor.right(), anchor.left() - available.left()) - Gap;
  const QSize room(sideRoom - chrome.width(), available.height() - chrome.height());
  int scale = largestIntegerScale(picture().size(), room);
  if (!picture().isNull()) {
    const int longest = std::max(picture().width(), picture().height());
    scale = std::min(scale, std::max(1, PreferredSide / longest));
  }
  m_view->setPreferredScale(scale);
  resize(sizeHint());
  if (!isVisible()) move(besidePosition(anchor, frameGeometry().size(), available, Gap));
  show();
}

void PortraitWindow::copyPicture() const {
  if (!picture().isNull()) QGuiApplication::clipboard()->setImage(picture());
}
