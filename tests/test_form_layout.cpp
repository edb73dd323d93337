#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "support/archive_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/form_layout.h"
#include "ui/form_region.h"
#include "ui/hot_spot.h"
#include "ui/skin_layout.h"

namespace {

struct ExpectedControl {
  const char* name;
  const char* caption;  // nullptr: a hot spot, no caption
  QRect geometry;
  const char* family;
  double pointSize;
  bool bold;
};

// The window's controls at 15 twips per pixel, as a user sees them.
const ExpectedControl kControls[] = {
    {"playerPackageLabel", "PLAYER PKG", {24, 72, 89, 17}, "Tahoma", 9.75, true},
    {"playerPackageEdit", "", {120, 72, 97, 25}, "Verdana", 12, true},
    {"jerseyNameLabel", "JERSEY NAME", {24, 144, 89, 17}, "Tahoma", 9.75, true},
    {"jerseyNameEdit", "", {120, 144, 97, 25}, "Verdana", 12, true},
    {"fileSizeLabel", "File Size:", {24, 200, 57, 17}, "Tahoma", 8.25, true},
    {"sizeLabel", "", {120, 200, 97, 17}, "Tahoma", 8.25, false},
    {"loadButton", "Load", {264, 40, 97, 25}, "Verdana", 9.75, false},
    {"saveButton", "Save", {264, 72, 97, 25}, "Verdana", 9.75, false},
    {"importButton", " Import Fsh", {264, 104, 97, 25}, "Verdana", 9.75, false},
    {"exportButton", "Export Fsh", {264, 136, 97, 25}, "Verdana", 9.75, false},
    {"aboutButton", "About", {264, 168, 97, 25}, "Verdana", 9.75, false},
    {"minimizeSpot", nullptr, {344, 8, 17, 17}, nullptr, 0, false},
    {"closeSpot", nullptr, {360, 0, 17, 25}, nullptr, 0, false},
};

QString caption(QWidget* control) {
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* box = qobject_cast<QLineEdit*>(control)) return box->text();
  if (auto* button = qobject_cast<QPushButton*>(control)) return button->text();
  return "?";
}

class FormLayoutTest : public ::testing::Test {
 protected:
  QWidget* widget(const char* name) { return ui.control<QWidget>(name); }

  // The focus chain as Tab walks it from the control that has the focus.
  QStringList tabOrder(int steps) {
    QStringList names;
    for (int i = 0; i < steps; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      names << QApplication::focusWidget()->objectName();
    }
    return names;
  }

  void activate() {
    ui.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui.window.get()));
  }

  void loadArchive(const ArchiveFixture& fixture) {
    const QString path = dir.filePath("portrait.big");
    writeFile(path, fixture.build());
    ui.dialogs->nextFileName(path);
    ui.click("loadButton");
  }

  QTemporaryDir dir;
  WindowUnderTest ui;
};

TEST_F(FormLayoutTest, EveryControlHasItsPlaceCaptionAndFont) {
  for (const ExpectedControl& e : kControls) {
    SCOPED_TRACE(e.name);
    QWidget* control = widget(e.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->geometry(), e.geometry);
    EXPECT_TRUE(control->isVisible());
    if (!e.caption) {
      ASSERT_NE(qobject_cast<ui::HotSpot*>(control), nullptr);
      EXPECT_EQ(static_cast<QLabel*>(control)->text(), "");
      continue;
    }
    EXPECT_EQ(caption(control), e.caption);
    const QFont font = control->font();
    ASSERT_FALSE(font.families().isEmpty());
    EXPECT_EQ(font.families().first(), e.family);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), e.pointSize);
    EXPECT_EQ(font.bold(), e.bold);
    EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
    // Whatever family the machine has, the font it resolves to keeps the weight.
    EXPECT_EQ(QFontInfo(font).bold(), e.bold);
  }
}

TEST_F(FormLayoutTest, WindowIsFramelessShapedAndSkinned) {
  ui::MainWindow& form = *ui.window;
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form.size(), QSize(392, 240));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_EQ(form.mask(), ui::makeFormRegion(1, 1, 0, 0, {15, 15})->region);

  // The skin fills the outline; nothing is drawn outside it.
  const QImage shot = form.grab().toImage();
  EXPECT_EQ(shot.pixelColor(100, 3), ui::SkinLayout::DarkBlue);  // title band
  EXPECT_EQ(shot.pixelColor(60, 55), ui::SkinLayout::Green);     // tab of the first panel
  EXPECT_EQ(shot.pixelColor(17, 100), ui::SkinLayout::LightGrey);
  EXPECT_EQ(shot.pixelColor(235, 120), ui::SkinLayout::White);
  EXPECT_EQ(shot.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(shot.pixelColor(16, 15).alpha(), 0);
  EXPECT_EQ(shot.pixelColor(391, 100).alpha(), 0);
}

// Each control sits on the part of the skin drawn for it.
TEST_F(FormLayoutTest, ControlsLieOnTheirSkinElements) {
  using namespace ui::SkinLayout;
  const std::pair<const char*, QRect> placements[] = {
      {"playerPackageEdit", PkgPanel}, {"playerPackageLabel", PkgPanel},
      {"jerseyNameEdit", JerseyPanel}, {"jerseyNameLabel", JerseyPanel},
      {"fileSizeLabel", SizePanel},    {"sizeLabel", SizePanel},
      {"loadButton", ButtonPanel},     {"saveButton", ButtonPanel},
      {"importButton", ButtonPanel},   {"exportButton", ButtonPanel},
      {"aboutButton", ButtonPanel},
  };
  for (const auto& [name, element] : placements)
    EXPECT_TRUE(element.contains(widget(name)->geometry())) << name;
  for (const auto& [name, glyph] :
       {std::pair{"minimizeSpot", MinimiseGlyph}, {"closeSpot", CloseGlyph}})
    EXPECT_TRUE(widget(name)->geometry().contains(glyph.center())) << name;
}

TEST_F(FormLayoutTest, TabMovesOnlyBetweenLoadAndAboutAtStart) {
  activate();
  EXPECT_EQ(QApplication::focusWidget(), widget("loadButton"));
  EXPECT_EQ(tabOrder(4), QStringList({"aboutButton", "loadButton", "aboutButton", "loadButton"}));
}

TEST_F(FormLayoutTest, TabVisitsTheEnabledControlsAfterALoad) {
  struct Case {
    ArchiveFixture fixture;
    QStringList order;  // from Load round to Load
  };
  const Case cases[] = {
      {ArchiveFixture::playerPackage(),
       {"playerPackageEdit", "aboutButton", "exportButton", "importButton", "saveButton",
        "loadButton"}},
      {ArchiveFixture::jersey(),
       {"aboutButton", "jerseyNameEdit", "exportButton", "importButton", "saveButton",
        "loadButton"}},
  };
  for (const Case& c : cases) {
    loadArchive(c.fixture);
    activate();
    widget("loadButton")->setFocus();
    EXPECT_EQ(tabOrder(6), c.order);
  }
}

TEST(FormLayout, PixelGeometryFollowsTheScreensTwipsPerPixel) {
  EXPECT_EQ(ui::FormLayout::pixelGeometry({264, 40, 97, 25}, 15, 15), QRect(264, 40, 97, 25));
  // 120 x 1.25 = 150, 97 x 1.25 = 121.25, 25 x 1.25 = 31.25; 17 x 1.5 = 25.5 -> 26.
  EXPECT_EQ(ui::FormLayout::pixelGeometry({120, 72, 97, 25}, 12, 12), QRect(150, 90, 121, 31));
  EXPECT_EQ(ui::FormLayout::pixelGeometry({24, 72, 89, 17}, 10, 10), QRect(36, 108, 134, 26));
  EXPECT_EQ(ui::FormLayout::pixelGeometry({0, 0, 392, 240}, 8, 8), QRect(0, 0, 735, 450));
}

}  // namespace
