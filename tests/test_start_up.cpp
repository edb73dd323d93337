#include <gtest/gtest.h>

#include <QEvent>
#include <QTest>
#include <QWidget>

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
  EXPECT_FALSE(ui::programIcon().isNull());
}

}  // namespace
