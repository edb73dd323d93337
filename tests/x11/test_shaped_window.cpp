// The main window on a real X server: its outline and skin on screen, moving it
// by its surface, its hot spots, and the program ending from the close hot spot.
// Pointer input is real X input (XTest, through xdotool).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "support/scripted_dialogs.h"
#include "ui/form_region.h"
#include "ui/skin_layout.h"
#include "x11/screenshot.h"

namespace {

const QColor kDesktop(255, 0, 255);  // nothing in the skin is magenta

// A plain window over the whole screen standing in for the desktop; it counts
// the presses that reach it.
class Desktop : public QWidget {
 public:
  Desktop() {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kDesktop);
    setPalette(colours);
    setGeometry(QGuiApplication::primaryScreen()->geometry());
  }
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

// Runs xdotool and keeps the event loop going meanwhile; returns its output.
QString xdotool(const QStringList& arguments, int timeoutMs = 10000) {
  QProcess xdotool;
  xdotool.start("xdotool", arguments);
  if (!xdotool.waitForStarted()) {
    ADD_FAILURE() << "xdotool does not start";
    return {};
  }
  if (!QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, timeoutMs)) {
    xdotool.kill();
    xdotool.waitForFinished();
    ADD_FAILURE() << "xdotool " << arguments.join(' ').toStdString() << " did not finish";
  }
  QTest::qWait(50);  // let the window take the events it caused
  return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
}

QStringList arguments(const QString& line) { return line.split(' ', Qt::SkipEmptyParts); }

void mouseTo(QPoint global) {
  xdotool({"mousemove", QString::number(global.x()), QString::number(global.y())});
}

class ShapedWindowOnX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop));
    ui = std::make_unique<WindowUnderTest>();
    ui->window->move(kWindowAt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui->window->pos() == kWindowAt; }));
    QTest::qWait(100);
  }

  QPoint global(QPoint local) const { return ui->window->pos() + local; }

  // Presses a button at a point of the window, drags by `by` in small steps,
  // releases; returns how far the window moved.
  QPoint drag(QPoint local, QPoint by, const QString& button = "1", const QString& modifier = {}) {
    const QPoint before = ui->window->pos();
    mouseTo(global(local));
    if (!modifier.isEmpty()) xdotool({"keydown", modifier});
    xdotool({"mousedown", button});
    const QPoint start = global(local);
    for (int step = 1; step <= 2; ++step) mouseTo(start + by * step / 2);
    xdotool({"mouseup", button});
    if (!modifier.isEmpty()) xdotool({"keyup", modifier});
    QTest::qWait(100);
    return ui->window->pos() - before;
  }

  static constexpr QPoint kWindowAt{100, 80};
  Desktop desktop;
  std::unique_ptr<WindowUnderTest> ui;
};

TEST_F(ShapedWindowOnX11, ShowsTheSkinInsideItsOutlineAndTheDesktopOutside) {
  const QImage screen = grabScreen();
  const QRegion outline = ui::makeFormRegion(1, 1, 0, 0, {15, 15})->region;
  auto at = [&](int x, int y) { return screen.pixelColor(kWindowAt + QPoint(x, y)); };

  int wrong = 0;
  for (int y = -2; y < 242 && wrong < 10; ++y) {
    for (int x = -2; x < 394 && wrong < 10; ++x) {
      const bool inside = outline.contains(QPoint(x, y));
      if ((at(x, y) == kDesktop) == inside) {
        ++wrong;
        ADD_FAILURE() << "pixel " << x << ", " << y << (inside ? " is desktop" : " is window");
      }
    }
  }
  // The rounded corner, the hole in the title band, and the two cut columns.
  for (const QPoint p :
       {QPoint(0, 0), QPoint(2, 2), QPoint(391, 239), QPoint(16, 15), QPoint(12, 12),
        QPoint(390, 8), QPoint(391, 8), QPoint(390, 120), QPoint(391, 239), QPoint(390, 200)})
    EXPECT_EQ(at(p.x(), p.y()), kDesktop) << p.x() << ", " << p.y();
  EXPECT_NE(at(389, 120), kDesktop);

  using namespace ui::SkinLayout;
  EXPECT_EQ(at(100, 3), DarkBlue);  // title band
  EXPECT_EQ(at(5, 20), DarkBlue);
  EXPECT_EQ(at(60, 55), Green);       // tab behind the first identifier panel
  EXPECT_EQ(at(17, 100), LightGrey);  // that panel's border
  EXPECT_EQ(at(60, 100), White);      // and its inside
  EXPECT_EQ(at(240, 220), Green);     // tab of the button panel
  EXPECT_EQ(at(300, 215), White);     // inside the button panel
}

TEST_F(ShapedWindowOnX11, ClicksOutsideTheOutlineReachTheDesktop) {
  for (const QPoint p : {QPoint(16, 15), QPoint(1, 1), QPoint(391, 100)}) {
    const int before = desktop.presses;
    mouseTo(global(p));
    xdotool({"click", "1"});
    EXPECT_EQ(desktop.presses, before + 1) << p.x() << ", " << p.y();
  }
  EXPECT_EQ(ui->window->pos(), kWindowAt);
}

TEST_F(ShapedWindowOnX11, PressOnTheBareSurfaceMovesTheWindow) {
  const QPoint bare(232, 120);
  ASSERT_EQ(ui->window->childAt(bare), nullptr);
  EXPECT_EQ(drag(bare, {60, 40}), QPoint(60, 40));
  // Any button, with modifiers held, moves it too.
  EXPECT_EQ(drag(bare, {-30, 25}, "3", "ctrl"), QPoint(-30, 25));
  EXPECT_EQ(drag({100, 3}, {10, -10}, "2"), QPoint(10, -10));

  // The window system shows it where it says it is.
  const QImage screen = grabScreen();
  const QPoint at = ui->window->pos();
  EXPECT_EQ(screen.pixelColor(at + QPoint(100, 3)), ui::SkinLayout::DarkBlue);
  EXPECT_EQ(screen.pixelColor(at + QPoint(0, 0)), kDesktop);
}

TEST_F(ShapedWindowOnX11, PressOnAControlDoesNotMoveTheWindow) {
  for (const char* name : {"playerPackageLabel", "saveButton", "playerPackageEdit", "sizeLabel",
                           "minimizeSpot", "closeSpot"}) {
    QWidget* control = ui->control<QWidget>(name);
    const QPoint inside = control->geometry().center();
    EXPECT_EQ(drag(inside, {40, 30}, "3"), QPoint(0, 0)) << name;
  }
  EXPECT_TRUE(ui->window->isVisible());
}

TEST_F(ShapedWindowOnX11, MinimiseHotSpotMinimisesTheWindow) {
  EXPECT_FALSE(ui->window->isMinimized());
  mouseTo(global(ui::SkinLayout::MinimiseGlyph.center()));
  xdotool({"click", "1"});
  EXPECT_TRUE(QTest::qWaitFor([&] { return ui->window->isMinimized(); }, 2000));
}

TEST(EditorProcess, CloseHotSpotEndsTheProgram) {
  QString editor = qEnvironmentVariable("CPE_EDITOR");
  if (editor.isEmpty())
    editor = QDir(QCoreApplication::applicationDirPath()).filePath("../courtside-portraits-editor");
  QProcess program;
  program.start(editor, {});
  ASSERT_TRUE(program.waitForStarted()) << editor.toStdString();

  const QString window = xdotool(arguments("search --sync --onlyvisible --pid " +
                                           QString::number(program.processId()) +
                                           " --name ^Courtside.portraits.editor$"));
  ASSERT_FALSE(window.isEmpty());
  const QString geometry = xdotool({"getwindowgeometry", "--shell", window.split('\n').first()});
  int x = -1, y = -1;
  for (const QString& line : geometry.split('\n')) {
    if (line.startsWith("X=")) x = line.mid(2).toInt();
    if (line.startsWith("Y=")) y = line.mid(2).toInt();
  }
  ASSERT_GE(x, 0) << geometry.toStdString();
  // Nothing happens until the close glyph is clicked.
  mouseTo(QPoint(x, y) + QPoint(200, 15));
  xdotool({"click", "1"});
  auto ended = [&] { return program.state() == QProcess::NotRunning; };
  EXPECT_FALSE(QTest::qWaitFor(ended, 300));

  mouseTo(QPoint(x, y) + ui::SkinLayout::CloseGlyph.center());
  xdotool({"click", "1"});
  ASSERT_TRUE(QTest::qWaitFor(ended, 10000)) << "the program is still running";
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
}

}  // namespace
