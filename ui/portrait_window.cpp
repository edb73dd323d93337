#include "ui/portrait_window.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "portrait/bitmap_details.h"
#include "ui/messages.h"
#include "ui/portrait_view.h"
#include "ui/skin.h"
#include "ui/skin_layout.h"

namespace ui {

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

BesidePlacement placeBeside(QSize picture, QSize details, const QRect& anchor,
                            const QRect& available, const QMargins& frame, int preferredSide,
                            int gap) {
  const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
  const QSize margins(2 * PortraitView::Margin, 2 * PortraitView::Margin);
  // The room on the roomier side, less the margins around the picture, the
  // details line and the frame.
  const int sideRoom =
      std::max(available.right() - anchor.right(), anchor.left() - available.left()) - gap;
  const QSize room =
      QSize(sideRoom, available.height()) - frameSize - margins - QSize(0, details.height());
  BesidePlacement placement;
  placement.scale = fittingScale(picture, room);
  if (!picture.isEmpty() && placement.scale >= 1) {
    const int longest = std::max(picture.width(), picture.height());
    placement.scale =
        std::min(placement.scale, std::max(1.0, std::floor(double(preferredSide) / longest)));
  }
  QSize content =
      picture.isEmpty() ? PortraitView::MessageArea : (QSizeF(picture) * placement.scale).toSize();
  content += margins;
  content = QSize(std::max(content.width(), details.width()), content.height() + details.height());
  const QSize outer = (content + frameSize).boundedTo(available.size());
  placement.frame = QRect(besidePosition(anchor, outer, available, gap), outer);
  return placement;
}

namespace {

// How long a newly shown window waits for the window system's frame.
constexpr int FrameWaitMs = 1000;

}  // namespace

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
  m_anchor = anchor;
  const bool opening = !isVisible();
  fitBeside(frameMargins());
  if (opening) {
    m_placeWhenFramed = true;
    // A window system that gives no frame sends no event to wait for.
    QTimer::singleShot(FrameWaitMs, this, [this] { m_placeWhenFramed = false; });
  }
  show();
}

QMargins PortraitWindow::frameMargins() const {
  const QRect frame = frameGeometry();
  const QRect inner = geometry();
  if (frame != inner)
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
  const int side = FrameAllowance.width() / 2;
  return {side, FrameAllowance.height() - side, side, side};
}

void PortraitWindow::fitBeside(const QMargins& frame) {
  const QScreen* screen = QGuiApplication::screenAt(m_anchor.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QSize details = m_details->text().isEmpty() ? QSize() : m_details->sizeHint();
  const BesidePlacement placement = placeBeside(
      picture().size(), details, m_anchor, screen->availableGeometry(), frame, PreferredSide, Gap);
  m_view->setPreferredScale(placement.scale);
  resize(placement.frame.size() -
         QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
  // move() places the frame's corner.
  if (!isVisible() || m_placeWhenFramed) move(placement.frame.topLeft());
}

bool PortraitWindow::event(QEvent* event) {
  const bool result = QWidget::event(event);
  if (m_placeWhenFramed && frameGeometry() != geometry() &&
      (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
       event->type() == QEvent::Show)) {
    // Once, with the frame the window system gave, which may be larger than
    // the allowance it was first placed with.
    QTimer::singleShot(0, this, [this] {
      fitBeside(frameMargins());
      m_placeWhenFramed = false;
    });
  }
  return result;
}

void PortraitWindow::copyPicture() const {
  if (!picture().isNull()) QGuiApplication::clipboard()->setImage(picture());
}

}  // namespace ui
