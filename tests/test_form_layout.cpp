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

struct Expected {
  const char* Name;
  const char* Caption;  // nullptr: a hot spot, no caption
  QRect Geometry;
  const char* Family;
  double PointSize;
  bool Bold;
};

// The window's controls at 15 twips per pixel, as a user sees them.
const Expected kControls[] = {
    {"playerpkg", "PLAYER PKG", {24, 72, 89, 17}, "Tahoma", 9.75, true},
    {"pkgtxt", "", {120, 72, 97, 25}, "Verdana", 12, true},
    {"Label1", "JERSEY NAME", {24, 144, 89, 17}, "Tahoma", 9.75, true},
    {"jrsytxt", "", {120, 144, 97, 25}, "Verdana", 12, true},
    {"Filesize", "File Size:", {24, 200, 57, 17}, "Tahoma", 8.25, true},
    {"Showsize", "", {120, 200, 97, 17}, "Tahoma", 8.25, false},
    {"Load", "Load", {264, 40, 97, 25}, "Verdana", 9.75, false},
    {"Save", "Save", {264, 72, 97, 25}, "Verdana", 9.75, false},
    {"Import", " Import Fsh", {264, 104, 97, 25}, "Verdana", 9.75, false},
    {"Export", "Export Fsh", {264, 136, 97, 25}, "Verdana", 9.75, false},
    {"About", "About", {264, 168, 97, 25}, "Verdana", 9.75, false},
    {"Minimized", nullptr, {344, 8, 17, 17}, nullptr, 0, false},
    {"Exit", nullptr, {360, 0, 17, 25}, nullptr, 0, false},
};

QString Caption(QWidget* control) {
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* box = qobject_cast<QLineEdit*>(control)) return box->text();
  if (auto* button = qobject_cast<QPushButton*>(control)) return button->text();
  return "?";
}

class FormLayoutTest : public ::testing::Test {
 protected:
  QWidget* Control(const char* name) { return ui.Control<QWidget>(name); }

  // The focus chain as Tab walks it from the control that has the focus.
  QStringList TabOrder(int steps) {
    QStringList names;
    for (int i = 0; i < steps; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      names << QApplication::focusWidget()->objectName();
    }
    return names;
  }

  void Activate() {
    ui.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui.form.get()));
  }

  void LoadArchive(const ArchiveFixture& fixture) {
    const QString path = dir.filePath("portrait.big");
    WriteFile(path, fixture.Build());
    ui.dialogs->NextFileName(path);
    ui.Click("Load");
  }

  QTemporaryDir dir;
  FormUnderTest ui;
};

TEST_F(FormLayoutTest, EveryControlHasItsPlaceCaptionAndFont) {
  for (const Expected& e : kControls) {
    SCOPED_TRACE(e.Name);
    QWidget* control = Control(e.Name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->geometry(), e.Geometry);
    EXPECT_TRUE(control->isVisible());
    if (!e.Caption) {
      ASSERT_NE(qobject_cast<HotSpot*>(control), nullptr);
      EXPECT_EQ(static_cast<QLabel*>(control)->text(), "");
      continue;
    }
    EXPECT_EQ(Caption(control), e.Caption);
    const QFont font = control->font();
    ASSERT_FALSE(font.families().isEmpty());
    EXPECT_EQ(font.families().first(), e.Family);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), e.PointSize);
    EXPECT_EQ(font.bold(), e.Bold);
    EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
    // Whatever family the machine has, the font it resolves to keeps the weight.
    EXPECT_EQ(QFontInfo(font).bold(), e.Bold);
  }
}

TEST_F(FormLayoutTest, WindowIsFramelessShapedAndSkinned) {
  ShapedForm& form = *ui.form;
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form.size(), QSize(392, 240));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_EQ(form.mask(), MakeFormRegion(1, 1, 0, 0, {15, 15}).Region);

  // The skin fills the outline; nothing is drawn outside it.
  const QImage shot = form.grab().toImage();
  EXPECT_EQ(shot.pixelColor(100, 3), SkinLayout::DarkBlue);  // title band
  EXPECT_EQ(shot.pixelColor(60, 55), SkinLayout::Green);     // tab of the first panel
  EXPECT_EQ(shot.pixelColor(17, 100), SkinLayout::LightGrey);
  EXPECT_EQ(shot.pixelColor(235, 120), SkinLayout::White);
  EXPECT_EQ(shot.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(shot.pixelColor(16, 15).alpha(), 0);
  EXPECT_EQ(shot.pixelColor(391, 100).alpha(), 0);
}

// Each control sits on the part of the skin drawn for it.
TEST_F(FormLayoutTest, ControlsLieOnTheirSkinElements) {
  using namespace SkinLayout;
  const std::pair<const char*, QRect> placements[] = {
      {"pkgtxt", PkgPanel},    {"playerpkg", PkgPanel}, {"jrsytxt", JerseyPanel},
      {"Label1", JerseyPanel}, {"Filesize", SizePanel}, {"Showsize", SizePanel},
      {"Load", ButtonPanel},   {"Save", ButtonPanel},   {"Import", ButtonPanel},
      {"Export", ButtonPanel}, {"About", ButtonPanel},
  };
  for (const auto& [name, element] : placements)
    EXPECT_TRUE(element.contains(Control(name)->geometry())) << name;
  for (const auto& [name, glyph] : {std::pair{"Minimized", MinimiseGlyph}, {"Exit", CloseGlyph}})
    EXPECT_TRUE(Control(name)->geometry().contains(glyph.center())) << name;
}

TEST_F(FormLayoutTest, TabMovesOnlyBetweenLoadAndAboutAtStart) {
  Activate();
  EXPECT_EQ(QApplication::focusWidget(), Control("Load"));
  EXPECT_EQ(TabOrder(4), QStringList({"About", "Load", "About", "Load"}));
}

TEST_F(FormLayoutTest, TabVisitsTheEnabledControlsAfterALoad) {
  struct Case {
    ArchiveFixture Fixture;
    QStringList Order;  // from Load round to Load
  };
  const Case cases[] = {
      {ArchiveFixture::PlayerPackage(), {"pkgtxt", "About", "Export", "Import", "Save", "Load"}},
      {ArchiveFixture::Jersey(), {"About", "jrsytxt", "Export", "Import", "Save", "Load"}},
  };
  for (const Case& c : cases) {
    LoadArchive(c.Fixture);
    Activate();
    Control("Load")->setFocus();
    EXPECT_EQ(TabOrder(6), c.Order);
  }
}

TEST(FormLayout, PixelGeometryFollowsTheScreensTwipsPerPixel) {
  EXPECT_EQ(FormLayout::PixelGeometry({264, 40, 97, 25}, 15, 15), QRect(264, 40, 97, 25));
  // 120 x 1.25 = 150, 97 x 1.25 = 121.25, 25 x 1.25 = 31.25; 17 x 1.5 = 25.5 -> 26.
  EXPECT_EQ(FormLayout::PixelGeometry({120, 72, 97, 25}, 12, 12), QRect(150, 90, 121, 31));
  EXPECT_EQ(FormLayout::PixelGeometry({24, 72, 89, 17}, 10, 10), QRect(36, 108, 134, 26));
  EXPECT_EQ(FormLayout::PixelGeometry({0, 0, 392, 240}, 8, 8), QRect(0, 0, 735, 450));
}

}  // namespace
