#pragma once

#include <QMargins>
#include <QRect>
#include <QString>
#include <QWidget>

#include "portrait/portrait_preview.h"

class QLabel;
namespace ui {

class PortraitView;

// Where a window of the given size goes beside anchor within the screen's
// available area: to its right where it fits, else to its left where it fits,
// else wherever of the two leaves more of it on the screen; top edge level
// with the anchor's, kept on the screen.
QPoint besidePosition(const QRect& anchor, QSize size, const QRect& available, int gap);

// How a portrait window showing a picture of a given size goes beside anchor:
// the picture's scale, and where the window's frame lies. The scale is the
// largest the room on the roomier side allows, enlarging a small picture to
// at most preferredSide; a picture larger than that room is scaled down. The
// frame lies wholly inside available, beside anchor, never over it when either
// side has any room. details is the size the line under the picture asks for.
struct BesidePlacement {
  double scale = 1;
  QRect frame;
};
BesidePlacement placeBeside(QSize picture, QSize details, const QRect& anchor,
                            const QRect& available, const QMargins& frame, int preferredSide,
                            int gap);

// The portrait of the current archive in a tool window of its own beside the
// main window: the picture, and a line with its size, pixel format and
// mipmaps. Ctrl+C copies the picture; its context menu also opens it in an
// image editor.
class PortraitWindow : public QWidget {
  Q_OBJECT

 public:
  explicit PortraitWindow(QWidget* parent);

  // "Portrait - <archive file name>"
  void setArchiveName(const QString& archiveName);
  void setPreview(const portrait::PortraitPreview& preview);
  // Sizes the window for the picture at the largest scale the room beside
  // anchor allows (below 1 for a picture larger than that room), and shows it
  // there, frame and all on the screen: once the window system has given the
  // window its frame, it is sized and placed again with the frame's true size.
  // An open window stays where it is, and keeps its size unless the picture's
  // size changed.
  void openBeside(const QRect& anchor);

  const QImage& picture() const;
  QString details() const;
  PortraitView* view() const { return m_view; }

  // Pictures of every side are shown at least this large when there is room.
  static constexpr int PreferredSide = 512;
  static constexpr int Gap = 8;
  // What a window system's frame usually takes, before the window has one.
  static constexpr QSize FrameAllowance{16, 40};

 signals:
  // "Edit picture..." and "Edit picture with..." of its context menu.
  void editPictureRequested();
  void editPictureWithRequested();

 protected:
  bool event(QEvent* event) override;

 private:
  void copyPicture() const;
  // The frame's width on each side: the window system's once it has one,
  // else FrameAllowance.
  QMargins frameMargins() const;
  void fitBeside(const QMargins& frame);

  PortraitView* m_view = nullptr;
  QLabel* m_details = nullptr;
  QSize m_sizedFor;  // the picture size the window was last sized for
  QRect m_anchor;    // the main window it was placed beside
  bool m_placeWhenFramed = false;
};

}  // namespace ui
