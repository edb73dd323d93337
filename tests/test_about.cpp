#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "support/scripted_dialogs.h"
#include "ui/frm_about.h"

namespace {

// Runs `whileOpen` once the About window that `open` shows is up, then returns
// the window's caption; the test fails if no About window appeared.
QString WithAboutOpen(const std::function<void()>& open,
                      const std::function<void(frmAbout&)>& whileOpen) {
  QString caption;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
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
  frmAbout about;
  EXPECT_EQ(about.windowTitle(), "About Courtside Portraits Editor v1.1");
  EXPECT_EQ(about.size(), QSize(259, 130));
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_FALSE(about.windowIcon().isNull());

  struct Label {
    const char* Name;
    QRect Geometry;
  };
  for (const Label& l : {Label{"Label1", {24, 16, 209, 25}}, Label{"Label2", {24, 56, 233, 25}},
                         Label{"Label3", {24, 72, 193, 25}}}) {
    auto* label = about.findChild<QLabel*>(l.Name);
    ASSERT_NE(label, nullptr) << l.Name;
    EXPECT_EQ(label->geometry(), l.Geometry) << l.Name;
    EXPECT_FALSE(label->text().isEmpty()) << l.Name;
    // Light text on the dark frame colour.
    EXPECT_EQ(label->palette().color(QPalette::WindowText),
              about.palette().color(QPalette::HighlightedText));
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), l.Geometry.width())
        << l.Name << " is cut off";
  }
  EXPECT_EQ(about.findChild<QLabel*>("Label1")->text(), "Courtside Portraits Editor v1.1");
  EXPECT_EQ(about.palette().color(QPalette::Window), about.palette().color(QPalette::Shadow));
  EXPECT_GT(about.palette().color(QPalette::WindowText).lightness(),
            about.palette().color(QPalette::Window).lightness());

  auto* ok = about.findChild<QPushButton*>("cmdOK");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_EQ(ok->geometry(), QRect(88, 96, 84, 23));
  EXPECT_TRUE(ok->isDefault());
}

TEST(About, EnterEscAndOkCloseIt) {
  const std::pair<const char*, std::function<void(frmAbout&)>> ways[] = {
      {"Enter", [](frmAbout& a) { QTest::keyClick(&a, Qt::Key_Return); }},
      {"keypad Enter", [](frmAbout& a) { QTest::keyClick(&a, Qt::Key_Enter); }},
      {"Esc", [](frmAbout& a) { QTest::keyClick(&a, Qt::Key_Escape); }},
      {"OK",
       [](frmAbout& a) { QTest::mouseClick(a.findChild<QPushButton*>("cmdOK"), Qt::LeftButton); }},
  };
  for (const auto& [way, press] : ways) {
    frmAbout about;
    bool okPressed = false;
    QObject::connect(about.findChild<QPushButton*>("cmdOK"), &QPushButton::clicked,
                     [&] { okPressed = true; });
    bool closedWhileOpen = false;
    QTimer::singleShot(0, [&, press = press] {
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
      about.activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
      // The OK button has the focus; labels take none.
      EXPECT_EQ(QApplication::focusWidget(), about.findChild<QPushButton*>("cmdOK"));
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
  FormUnderTest ui;
  auto* form = ui.form.get();
  for (int time = 1; time <= 2; ++time) {
    const QString caption = WithAboutOpen(
        [&] { ui.Click("About"); },
        [&](frmAbout& about) {
          EXPECT_TRUE(about.isModal());
          EXPECT_EQ(about.windowModality(), Qt::ApplicationModal);
          EXPECT_TRUE(about.isVisible());
          // A click on the main window's Load button goes nowhere: no file dialog
          // appears (the scripted dialog has no answer and would fail the test).
          const QPoint load = form->findChild<QPushButton*>("Load")->geometry().center();
          QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, load);
          QTest::keyClick(&about, Qt::Key_Escape);
        });
    EXPECT_EQ(caption, "About Courtside Portraits Editor v1.1") << "time " << time;
    EXPECT_TRUE(ui.dialogs->shown.empty());
    // Closed and gone: each click builds a fresh window.
    EXPECT_EQ(form->findChildren<frmAbout*>().size(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

}  // namespace
