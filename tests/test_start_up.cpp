#include <gtest/gtest.h>

#include <QEvent>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <iterator>

#include "ui/first_paint.h"
#include "ui/skin.h"
#include "ui/skin_layout.h"

namespace {

// Counts the paints the widget has had.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Work that waits for the first paint runs once, after it, not before it.
TEST(StartUp, WorkWaitsForTheFirstPaint) {
  QWidget window;
  window.resize(100, 80);
  PaintCounter counter;
  window.installEventFilter(&counter);
  int runs = 0;
  int paintsBeforeRun = -1;
  ui::afterFirstPaint(window, [&] {
    ++runs;
    paintsBeforeRun = counter.paints;
  });
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 0) << "ran before the window was shown";
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return runs > 0; }, 2000));
  EXPECT_GE(paintsBeforeRun, 1);
  window.update();
  QTest::qWait(50);
  EXPECT_EQ(runs, 1);
}

// The skin and the icon are bundled as raw pixels; a fault in bundling them
// would leave the main window blank rather than fail.
TEST(StartUp, BundledPicturesAreWhole) {
  const QImage& skin = ui::skinPicture();
  ASSERT_FALSE(skin.isNull());
  EXPECT_EQ(skin.size(), QSize(ui::SkinLayout::Width, ui::SkinLayout::Height));
  EXPECT_NE(skin.pixel(skin.width() / 2, skin.height() / 2), skin.pixel(0, 0));
  // The pixels are read as premultiplied ARGB, which holds only if each is opaque.
  bool opaque = true;
  for (int y = 0; y < skin.height(); ++y)
    for (int x = 0; x < skin.width(); ++x) opaque = opaque && qAlpha(skin.pixel(x, y)) == 255;
  EXPECT_TRUE(opaque);
  EXPECT_FALSE(ui::programIcon().isNull());
}

// The window's face is what white, then the skin, painted through the outline
// as a clip would give, whether the skin is drawn at its size or scaled, placed
// in part outside the window, or the outline reaches beyond it.
TEST(StartUp, OutlinedSkinIsTheSkinPaintedThroughTheOutline) {
  const QSize skinSize = ui::skinPicture().size();
  const QRegion rounded = QRegion(QRect(0, 0, 392, 240), QRegion::Ellipse);
  const struct {
    QSize size;
    QRect skinRect;
    QRegion outline;
  } cases[] = {
      {{392, 240}, {{0, 0}, skinSize}, rounded},
      {{392, 240}, {{0, 0}, skinSize}, QRegion()},
      {{392, 240}, {-5, 7, 293, 180}, rounded + QRect(380, 0, 40, 300)},
      {{590, 362}, {0, 0, 587, 360}, QRegion(QRect(0, 0, 1, 1)) + QRect(589, 361, 1, 1)},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    QImage expected(c.size, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    {
      QPainter painter(&expected);
      if (!c.outline.isEmpty()) painter.setClipRegion(c.outline);
      painter.fillRect(expected.rect(), Qt::white);
      painter.drawImage(c.skinRect, ui::skinPicture());
    }
    EXPECT_TRUE(ui::outlinedSkin(c.size, c.skinRect, c.outline) == expected) << "case " << i;
  }
}

}  // namespace
