// Text from the user or the disk inside a message: isolated, so that it cannot
// reorder the message around it, without the characters that could end the
// isolation or the line, and shortened in the middle to a sane length.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/archive_fixture.h"
#include "support/recording_window.h"
#include "ui/command_routines.h"
#include "ui/user_text.h"

namespace {

const QString Open = QString(QChar(0x2068));
const QString Close = QString(QChar(0x2069));
const QString Replaced = QString(QChar(0xFFFD));

struct UserTextCase {
  const char* name;
  QString text;
  QString shown;  // between the isolates
};
void PrintTo(const UserTextCase& c, std::ostream* os) { *os << c.name; }

class IsolatedUserText : public ::testing::TestWithParam<UserTextCase> {};

TEST_P(IsolatedUserText, IsShownBetweenIsolatesAndShortened) {
  const QString shown = ui::isolatedUserText(GetParam().text);
  EXPECT_EQ(shown, Open + GetParam().shown + Close);
  EXPECT_LE(shown.size(), ui::MaxUserTextLength + 2);
}

const QString Long = QString("a").repeated(100) + "/portrait.big";

INSTANTIATE_TEST_SUITE_P(
    Texts, IsolatedUserText,
    ::testing::Values(
        UserTextCase{"Plain", "portrait.big", "portrait.big"}, UserTextCase{"Empty", "", ""},
        UserTextCase{"RightToLeftLetters", QString::fromUtf8("\u05E9\u05DC\u05D5\u05DD.big"),
                     QString::fromUtf8("\u05E9\u05DC\u05D5\u05DD.big")},
        // An override turns the rest of the line around: "gib.exe" would read "exe.big".
        UserTextCase{"RightToLeftOverride", QString::fromUtf8("x\u202Egib.exe"),
                     "x" + Replaced + "gib.exe"},
        // A closing isolate of its own would end the isolation early.
        UserTextCase{"PopIsolate", QString::fromUtf8("a\u2069\u202Eb"),
                     "a" + Replaced + Replaced + "b"},
        UserTextCase{"Embeddings", QString::fromUtf8("\u202A\u202B\u202C\u2066\u2067\u2068x"),
                     Replaced.repeated(6) + "x"},
        UserTextCase{"NewLine", "first\nsecond\r", "first" + Replaced + "second" + Replaced},
        UserTextCase{"ParagraphSeparator", QString::fromUtf8("a\u2029b"), "a" + Replaced + "b"},
        UserTextCase{"Eighty", QString("b").repeated(80), QString("b").repeated(80)},
        // Shortened in the middle: the start and the file name stay.
        UserTextCase{"Long", Long, Long.left(39) + QChar(0x2026) + Long.right(40)},
        // A character outside the basic plane is never cut in half.
        UserTextCase{"LongWithPairsAtTheCuts",
                     QString("c").repeated(38) + QString::fromUtf8("😀") +
                         QString("d").repeated(30) + QString::fromUtf8("😀") +
                         QString("e").repeated(39),
                     QString("c").repeated(38) + QChar(0x2026) + QString("e").repeated(39)}),
    [](const auto& info) { return std::string(info.param.name); });

// A file name with an override in a real refusal.
TEST(UserTextInMessages, AFileNameCannotTurnTheMessageAround) {
  QTemporaryDir dir;
  RecordingWindow window;
  window.state().archivePath =
      writeFile(dir.filePath(QString::fromUtf8("x\u202Egib.exe")), ArchiveFixture().build() + "x");
  window.state().savePath = dir.filePath("saved.big");
  window.text[0] = "new0001";
  EXPECT_FALSE(ui::saveArchiveFrom(window));
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text,
            "The current archive " + Open + "x" + Replaced + "gib.exe" + Close +
                " is no longer a valid portrait archive: its size field does not match its "
                "length. Nothing was saved.");
}

}  // namespace
