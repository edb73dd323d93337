#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "support/scripted_dialogs.h"
#include "ui/about_dialog.h"

namespace {

// Runs `whileOpen` once the About window that `open` shows is up, then returns
// the window's caption; the test fails if no About window appeared.
QString withAboutOpen(const std::function<void()>& open,
                      const std::function<void(ui::AboutDialog&)>& whileOpen) {
  QString caption;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* about = qobject_cast<ui::AboutDialog*>(QApplication::activeModalWidget());
    if (!about) return;
    seen = true;
    caption = about->windowTitle();
    whileOpen(*about);
    if (about->isVisible()) about->done(QDialog::Rejected);  // never leave a test hanging
  });
  open();
  EXPECT_TRUE(seen) << "no About window was shown";
  return caption;
}

TEST(About, LooksAsDesigned) {
  ui::AboutDialog about;
  EXPECT_EQ(about.windowTitle(), "About Courtside Portraits Editor v1.1");
  EXPECT_EQ(about.size(), QSize(259, 130));
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_FALSE(about.windowIcon().isNull());

  struct Label {
    const char* name;
    QRect geometry;
  };
  for (const Label& l :
       {Label{"titleLabel", {24, 16, 209, 25}}, Label{"creditLabel", {24, 56, 233, 25}},
        Label{"contactLabel", {24, 72, 193, 25}}}) {
    auto* label = about.findChild<QLabel*>(l.name);
    ASSERT_NE(label, nullptr) << l.name;
    EXPECT_EQ(label->geometry(), l.geometry) << l.name;
    EXPECT_FALSE(label->text().isEmpty()) << l.name;
    // Light text on the dark frame colour.
    EXPECT_EQ(label->palette().color(QPalette::WindowText),
              about.palette().color(QPalette::HighlightedText));
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), l.geometry.width())
        << l.name << " is cut off";
  }
  EXPECT_EQ(about.findChild<QLabel*>("titleLabel")->text(), "Courtside Portraits Editor v1.1");
  EXPECT_EQ(about.palette().color(QPalette::Window), about.palette().color(QPalette::Shadow));
  EXPECT_GT(about.palette().color(QPalette::WindowText).lightness(),
            about.palette().color(QPalette::Window).lightness());

  auto* ok = about.findChild<QPushButton*>("okButton");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_EQ(ok->geometry(), QRect(88, 96, 84, 23));
  EXPECT_TRUE(ok->isDefault());
}

TEST(About, EnterEscAndOkCloseIt) {
  const std::pair<const char*, std::function<void(ui::AboutDialog&)>> ways[] = {
      {"Enter", [](ui::AboutDialog& a) { QTest::keyClick(&a, Qt::Key_Return); }},
      {"keypad Enter", [](ui::AboutDialog& a) { QTest::keyClick(&a, Qt::Key_Enter); }},
      {"Esc", [](ui::AboutDialog& a) { QTest::keyClick(&a, Qt::Key_Escape); }},
      {"OK",
       [](ui::AboutDialog& a) {
         QTest::mouseClick(a.findChild<QPushButton*>("okButton"), Qt::LeftButton);
       }},
  };
  for (const auto& [way, press] : ways) {
    ui::AboutDialog about;
    bool okPressed = false;
    QObject::connect(about.findChild<QPushButton*>("okButton"), &QPushButton::clicked,
                     [&] { okPressed = true; });
    bool closedWhileOpen = false;
    QTimer::singleShot(0, [&, press = press] {
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
      about.activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
      // The OK button has the focus; labels take none.
      EXPECT_EQ(QApplication::focusWidget(), about.findChild<QPushButton*>("okButton"));
      press(about);
      closedWhileOpen = !about.isVisible();
      if (about.isVisible()) about.done(QDialog::Rejected);
    });
    about.exec();
    EXPECT_TRUE(closedWhileOpen) << way;
    EXPECT_TRUE(okPressed) << way << " does not press OK";
  }
}

TEST(About, AboutButtonOpensAModalWindowEveryTime) {
  WindowUnderTest ui;
  auto* form = ui.window.get();
  for (int time = 1; time <= 2; ++time) {
    const QString caption = withAboutOpen(
        [&] { ui.click("aboutButton"); },
        [&](ui::AboutDialog& about) {
          EXPECT_TRUE(about.isModal());
          EXPECT_EQ(about.windowModality(), Qt::ApplicationModal);
          EXPECT_TRUE(about.isVisible());
          // A click on the main window's Load button goes nowhere: no file dialog
          // appears (the scripted dialog has no answer and would fail the test).
          const QPoint load = form->findChild<QPushButton*>("loadButton")->geometry().center();
          QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, load);
          QTest::keyClick(&about, Qt::Key_Escape);
        });
    EXPECT_EQ(caption, "About Courtside Portraits Editor v1.1") << "time " << time;
    EXPECT_TRUE(ui.dialogs->shown.empty());
    // Closed and gone: each click builds a fresh window.
    EXPECT_EQ(form->findChildren<ui::AboutDialog*>().size(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

}  // namespace
