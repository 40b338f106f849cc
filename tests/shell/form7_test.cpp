// SPDX-License-Identifier: GPL-3.0-or-later
// The letter keypad: the letters it collects and the hand-over to the window
// that opened it.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "form7.h"
#include "windownames.h"
#include "window_fixture.h"

namespace versilo::testing {
namespace {

class Form7Test : public WindowTest {
protected:
    Form7Test() : WindowTest(&RegisterKeypad) {}
    static QString Letters() { return AppContext::Instance().keypadLetters; }
    static void Key(Form7 *k, char letter) { Click(k, QStringLiteral("Command2_%1").arg(letter - 'a')); }

    // A stand-in opener that records the letters of every search it runs.
    QWidget opener_;
    QStringList searches_;
    Form7 *Open()
    {
        return OpenKeypad(&opener_, [this] { searches_ << Letters(); });
    }
};

TEST_F(Form7Test, KeysAppendInOrderAndClearEmpties)
{
    AppContext::Instance().keypadLetters = QStringLiteral("old");
    Form7 *k = Open();
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(Letters(), QString());   // a fresh keypad starts empty
    EXPECT_EQ(Child<QPushButton>(k, "Command2_0")->text(), QStringLiteral("a"));
    EXPECT_EQ(Child<QPushButton>(k, "Command2_25")->text(), QStringLiteral("z"));
    EXPECT_FALSE(Child(k, "Text1")->isEnabled());

    const struct {
        const char *keys;   // '-' is 清除
        const char *letters;
    } cases[] = {{"ab-c", "c"}, {"zzz", "czzz"}, {"-", ""}, {"pinyin", "pinyin"}};
    for (const auto &c : cases) {
        for (const char *key = c.keys; *key; ++key) {
            if (*key == '-')
                Click(k, "Command3");
            else
                Key(k, *key);
        }
        EXPECT_EQ(Letters(), QString::fromLatin1(c.letters)) << c.keys;
        EXPECT_EQ(Child<QLineEdit>(k, "Text1")->text(), QString::fromLatin1(c.letters)) << c.keys;
    }
}

TEST_F(Form7Test, ReturnClosesAndTellsTheOpenerOnce)
{
    Form7 *k = Open();
    Key(k, 'a');
    Key(k, 'b');
    Click(k, "Command3");
    Key(k, 'c');
    EXPECT_TRUE(searches_.isEmpty());
    Click(k, "Command1");
    EXPECT_EQ(Windows().Find(window::kKeypad), nullptr);
    EXPECT_EQ(searches_, QStringList{QStringLiteral("c")});

    // Activations after the keypad has gone search no more.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&opener_, &activate);
    Settle();
    EXPECT_EQ(searches_.size(), 1);

    // Closed at once: the search runs with no letters.
    Click(Open(), "Command1");
    EXPECT_EQ(searches_, (QStringList{QStringLiteral("c"), QString()}));
}

TEST_F(Form7Test, OpenerClickedWhileTheKeypadIsOpenSearchesWithTheLettersSoFar)
{
    Form7 *k = Open();
    Key(k, 'd');
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&opener_, &activate);
    EXPECT_EQ(searches_, QStringList{QStringLiteral("d")});
    EXPECT_EQ(Windows().Find(window::kKeypad), k);   // the keypad stays open

    // Opening afresh discards the old keypad and starts over.
    Form7 *again = Open();
    EXPECT_NE(again, k);
    EXPECT_EQ(Letters(), QString());
    QCoreApplication::sendEvent(&opener_, &activate);
    EXPECT_EQ(searches_, (QStringList{QStringLiteral("d"), QString()}));
}

// The keyboard works the keypad: letters (either case) append, Backspace
// takes one back, Delete clears; Return, Enter and Esc are 返回.
TEST_F(Form7Test, TypedKeysWorkTheKeypad)
{
    const struct {
        std::vector<int> keys;
        const char *letters;
    } cases[] = {
        {{Qt::Key_D, Qt::Key_O, Qt::Key_N, Qt::Key_G}, "dong"},
        {{Qt::Key_A, Qt::Key_B, Qt::Key_Backspace, Qt::Key_C}, "ac"},
        {{Qt::Key_Backspace, Qt::Key_Z}, "z"},
        {{Qt::Key_X, Qt::Key_Delete, Qt::Key_Y}, "y"},
        {{Qt::Key_1, Qt::Key_Space, Qt::Key_Q}, "q"},   // other keys type nothing
    };
    const int closers[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Escape};
    QStringList expected;
    for (size_t i = 0; i < std::size(cases); ++i) {
        Form7 *k = Open();
        QApplication::setActiveWindow(k);
        for (int key : cases[i].keys)
            QTest::keyClick(k, Qt::Key(key), key == Qt::Key_Q ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(Child<QLineEdit>(k, "Text1")->text(), QString::fromLatin1(cases[i].letters));
        QTest::keyClick(k, Qt::Key(closers[i]));
        EXPECT_EQ(Windows().Find(window::kKeypad), nullptr);
        expected << QString::fromLatin1(cases[i].letters);
        EXPECT_EQ(searches_, expected);
        Settle();
    }
}

}  // namespace
}  // namespace versilo::testing
