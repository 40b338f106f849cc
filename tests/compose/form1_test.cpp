// SPDX-License-Identifier: GPL-3.0-or-later
// The composition window: its initial state, the buttons that only change
// the window, typing, and the two checks run from their buttons.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <future>
#include <sqlite3.h>
#include <thread>

#include "twips.h"
#include "window_fixture.h"

namespace versilo::testing {
namespace {


class Form1Test : public WindowTest {};

TEST_F(Form1Test, OpensWithTheInitialTextsAndLayout)
{
    Form1 *f = OpenForm1();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Versilo14.0"));
    EXPECT_EQ(f->size(), TwSize(13230, 8835));
    EXPECT_EQ(f->Title(), QStringLiteral("在此处写作品标题"));
    EXPECT_EQ(f->Poem(), QStringLiteral("在此处撰写诗词") + kCrLf);
    for (auto shown : {&Form1::Explanation, &Form1::Pattern, &Form1::Tones, &Form1::Results, &Form1::TuneName,
                       &Form1::ToneLegend, &Form1::ResultHeading, &Form1::ExplanationHeading})
        EXPECT_EQ((f->*shown)(), QString());
    const QStringList buttons = {"Command4=打开词谱", "Command8=打开作品", "Command9=判断平仄韵调",
                                 "Command1=判断正误", "Command7=保存作品", "Command6=清空栏目",
                                 "Command3=常用词谱", "Command2=中华新韵", "Command5=退出写作"};
    for (const QString &b : buttons) {
        const QStringList nameCaption = b.split(u'=');
        EXPECT_EQ(Child<QPushButton>(f, nameCaption[0])->text(), nameCaption[1]);
    }
    EXPECT_EQ(Child(f, "Text2")->geometry(), TwRect(3000, 1560, 2535, 6255));
    EXPECT_EQ(Child(f, "Label3")->geometry(), TwRect(10560, 960, 2175, 480));
    EXPECT_EQ(Child(f, "Command9")->geometry(), TwRect(3026, 8040, 1335, 495));
    EXPECT_EQ(Child(f, "Image13")->geometry(), TwRect(-120, 0, 13455, 8895));
    EXPECT_TRUE(Child(f, "Image13")->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(Child(f, "Label2")->palette().color(QPalette::Window), QColor(224, 224, 224));

    // A new opening discards whatever the writer had typed.
    f->SetTitle(QStringLiteral("春晓"));
    f->SetPoem(QStringLiteral("春眠"));
    f = OpenForm1();
    EXPECT_EQ(f->Title(), QStringLiteral("在此处写作品标题"));
    EXPECT_EQ(f->Poem(), QStringLiteral("在此处撰写诗词") + kCrLf);
}

TEST_F(Form1Test, BoxesKeepCrLfLineBreaks)
{
    Form1 *f = OpenForm1();
    const QString text = QStringLiteral("A") + kCrLf + kCrLf + QStringLiteral("B ") + kCrLf;
    f->SetPattern(text);
    EXPECT_EQ(f->Pattern(), text);
    EXPECT_EQ(Child<QPlainTextEdit>(f, "Text5")->blockCount(), 4);
    f->SetTones(kCrLf + kCrLf + kCrLf);
    EXPECT_EQ(f->Tones(), kCrLf + kCrLf + kCrLf);
}

TEST_F(Form1Test, ButtonsToggleAndClear)
{
    Form1 *f = OpenForm1();
    Click(f, "Command2");
    EXPECT_EQ(f->RhymeSystem(), QStringLiteral("平水韵"));
    Click(f, "Command2");
    EXPECT_EQ(f->RhymeSystem(), QStringLiteral("中华新韵"));
    Click(f, "Command3");
    EXPECT_EQ(f->PatternBook(), QStringLiteral("白香词谱"));
    Click(f, "Command3");
    EXPECT_EQ(f->PatternBook(), QStringLiteral("常用词谱"));

    // Clear empties every box and heading, the title too; the two choices stay.
    Click(f, "Command2");
    Click(f, "Command3");
    AppContext::Instance().patternBook = QStringLiteral("白香词谱");
    f->ShowTune(QStringLiteral("忆江南"), QStringLiteral("○●-"), QStringLiteral("说明-"));
    f->SetToneLegend(QStringLiteral("x"));
    f->SetResultHeading(QStringLiteral("y"));
    f->SetTones(QStringLiteral("○") + kCrLf);
    f->SetResults(QStringLiteral("★") + kCrLf);
    Click(f, "Command6");
    for (auto shown : {&Form1::Poem, &Form1::Explanation, &Form1::Title, &Form1::Pattern, &Form1::Tones,
                       &Form1::Results, &Form1::TuneName, &Form1::ToneLegend, &Form1::ResultHeading,
                       &Form1::ExplanationHeading})
        EXPECT_EQ((f->*shown)(), QString());
    EXPECT_EQ(f->RhymeSystem(), QStringLiteral("平水韵"));
    EXPECT_EQ(f->PatternBook(), QStringLiteral("白香词谱"));
    EXPECT_EQ(AppContext::Instance().patternBook, QStringLiteral("白香词谱"));

    Click(f, "Command5");
    EXPECT_EQ(Windows().Find("Form1"), nullptr);
}

TEST_F(Form1Test, DoubleClickOnTuneNameStartsTheTitle)
{
    Form1 *f = OpenForm1();
    QTest::mouseDClick(Child(f, "Label1"), Qt::LeftButton);
    EXPECT_EQ(f->Title(), QStringLiteral("."));
    f->SetTuneName(QStringLiteral("忆江南"));
    QTest::mouseDClick(Child(f, "Label1"), Qt::LeftButton);
    EXPECT_EQ(f->Title(), QStringLiteral("忆江南."));
}

TEST_F(Form1Test, TypingReachesOnlyTitleAndPoem)
{
    Form1 *f = OpenForm1();
    f->ShowTune(QStringLiteral("忆江南"), QStringLiteral("○●-"), QStringLiteral("说明-"));
    const QString before3 = f->Explanation(), before5 = f->Pattern();
    for (const char *box : {"Text3", "Text5", "Text6", "Text8"})
        Type(Child(f, box), QStringLiteral("字"));
    EXPECT_EQ(f->Explanation(), before3);
    EXPECT_EQ(f->Pattern(), before5);
    EXPECT_EQ(f->Tones(), QString());
    EXPECT_EQ(f->Results(), QString());

    f->SetTitle(QString());
    f->SetPoem(QString());
    Type(Child(f, "Text4"), QStringLiteral("春晓"));
    Type(Child(f, "Text2"), QStringLiteral("春眠"));
    QTest::keyClick(Child(f, "Text2"), Qt::Key_Return);
    Type(Child(f, "Text2"), QStringLiteral("不觉"));
    EXPECT_EQ(f->Title(), QStringLiteral("春晓"));
    EXPECT_EQ(f->Poem(), QStringLiteral("春眠") + kCrLf + QStringLiteral("不觉"));

    // Shift+Return starts a new line like Return: the checks and saving see
    // two lines, not one line with a soft break inside.
    QTest::keyClick(Child(f, "Text2"), Qt::Key_Return, Qt::ShiftModifier);
    Type(Child(f, "Text2"), QStringLiteral("晓"));
    EXPECT_EQ(f->Poem(), QStringLiteral("春眠") + kCrLf + QStringLiteral("不觉") + kCrLf + QStringLiteral("晓"));
}

TEST_F(Form1Test, TitleAndPoemTakeTabInputMethodAndPaste)
{
    Form1 *f = OpenForm1();
    QApplication::setActiveWindow(f);
    auto *title = Child<QLineEdit>(f, "Text4");
    auto *poem = Child<QPlainTextEdit>(f, "Text2");
    title->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), title);
    QTest::keyClick(title, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), poem);
    // A tab in the poem moves on instead of putting a tab character in a line.
    QTest::keyClick(poem, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), poem);
    EXPECT_EQ(f->Poem(), QStringLiteral("在此处撰写诗词") + kCrLf);

    // Text from an input method lands in the title and the poem.
    for (QWidget *box : {static_cast<QWidget *>(title), static_cast<QWidget *>(poem)}) {
        EXPECT_TRUE(box->testAttribute(Qt::WA_InputMethodEnabled)) << box->objectName().toStdString();
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("春眠"));
        QApplication::sendEvent(box, &commit);
    }
    EXPECT_TRUE(f->Title().contains(QStringLiteral("春眠")));
    EXPECT_TRUE(f->Poem().contains(QStringLiteral("春眠")));

    // Lines pasted into the title become one line.
    title->setText(QStringLiteral("题"));
    title->setCursorPosition(0);
    QApplication::clipboard()->setText(QStringLiteral("春晓\r\n处处"));
    title->paste();
    EXPECT_EQ(f->Title(), QStringLiteral("春晓处处题"));
    EXPECT_EQ(title->cursorPosition(), 4);
}

TEST_F(Form1Test, ALongPastedTitleIsKeptWhole)
{
    Form1 *f = OpenForm1();
    auto *title = Child<QLineEdit>(f, "Text4");
    title->clear();
    const QString pasted = QString(40000, QChar(u'题'));
    QApplication::clipboard()->setText(pasted);
    title->paste();
    EXPECT_EQ(f->Title(), pasted);
}

TEST_F(Form1Test, ToneAndRhymeAnnotation)
{
    Form1 *f = OpenForm1();
    f->SetPoem(QStringLiteral("春眠不觉晓，") + kCrLf + QStringLiteral("处处闻啼鸟。") + kCrLf);
    Click(f, "Command9");
    EXPECT_EQ(f->Tones(), QStringLiteral("○○●※●\r\n●●○○●\r\n\r\n\r\n"));
    EXPECT_EQ(f->Results(), QStringLiteral("文寒姑皆豪\r\n姑姑文齐豪\r\n\r\n\r\n"));
    EXPECT_EQ(f->ToneLegend(), QStringLiteral("○：平韵  ●：仄韵    ※：平仄两读"));
    EXPECT_EQ(f->ResultHeading(), QStringLiteral("判断韵调"));

    Click(f, "Command2");   // 平水韵
    Click(f, "Command9");
    EXPECT_EQ(f->Tones(), QStringLiteral("○○●●●\r\n●●○○●\r\n\r\n\r\n"));
    EXPECT_EQ(f->Results(), QStringLiteral("真先物觉小\r\n御御文齐小\r\n\r\n\r\n"));
    // The last line, typed without Return, is annotated all the same.
    f->SetPoem(QStringLiteral("春眠不觉晓，") + kCrLf + QStringLiteral("处处闻啼鸟。"));
    Click(f, "Command9");
    EXPECT_EQ(f->Tones(), QStringLiteral("○○●●●\r\n●●○○●\r\n\r\n\r\n"));
    EXPECT_EQ(f->Results(), QStringLiteral("真先物觉小\r\n御御文齐小\r\n\r\n\r\n"));
    EXPECT_TRUE(dialogs_.told.isEmpty());
}

TEST_F(Form1Test, ConformanceCheckWithoutTuneMarksTonesOnly)
{
    Form1 *f = OpenForm1();
    f->SetPoem(QStringLiteral("  春眠不觉晓，") + kCrLf + QStringLiteral("处处闻啼鸟。  "));
    Click(f, "Command1");
    // The poem is tidied and written back; its last line counts without a break.
    EXPECT_EQ(f->Poem(), QStringLiteral("春眠不觉晓，") + kCrLf + QStringLiteral("处处闻啼鸟。"));
    EXPECT_EQ(f->Tones(), QStringLiteral("○○●※●\r\n●●○○●\r\n\r\n\r\n"));
    EXPECT_EQ(f->Results(), QString());
    EXPECT_EQ(f->ToneLegend(), QStringLiteral("○：平韵  ●：仄韵    ※：平仄两读"));
    EXPECT_EQ(f->ResultHeading(), QString());   // no tune: no heading at all
}

TEST_F(Form1Test, ACheckWaitsForAnotherProgramUnderTheWaitCursor)
{
    Form1 *f = OpenForm1();
    f->SetPoem(QStringLiteral("春眠"));
    // Another program writes to the file for a moment.
    std::promise<void> locked;
    std::thread writer([&, path = AppContext::Instance().Store().FilePath()] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        const int rc = sqlite3_exec(db, "PRAGMA key = 't3k9w2hpzq7mvd'; BEGIN EXCLUSIVE; "
                                        "INSERT INTO 作品 (篇名) VALUES ('另一个程序')",
                                    nullptr, nullptr, nullptr);
        locked.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (rc == SQLITE_OK)
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    locked.get_future().wait();
    Click(f, "Command1");
    writer.join();
    // The check waited and ran; the wait cursor stays until the window is
    // back in its event loop.
    EXPECT_TRUE(dialogs_.told.isEmpty()) << dialogs_.told.join(u'\n').toStdString();
    EXPECT_EQ(f->Tones(), QStringLiteral("○○\r\n\r\n\r\n"));
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QCoreApplication::processEvents();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(Form1Test, UnreadableDictionaryIsReported)
{
    Form1 *f = OpenForm1();
    f->SetPoem(QStringLiteral("春") + kCrLf);
    f->SetTones(QStringLiteral("旧") + kCrLf);
    ASSERT_EQ(sqlite3_exec(AppContext::Instance().Store().Handle(), "drop table 平水韵", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    Click(f, "Command2");   // 平水韵
    Click(f, "Command1");
    ASSERT_EQ(dialogs_.told.size(), 1);
    EXPECT_TRUE(dialogs_.told[0].startsWith(QStringLiteral("无法读取韵书“平水韵”："))) << dialogs_.told[0].toStdString();
    EXPECT_EQ(f->Tones(), QStringLiteral("旧") + kCrLf);

    Click(f, "Command9");
    EXPECT_EQ(dialogs_.told.size(), 2);
    EXPECT_EQ(f->Tones(), QStringLiteral("旧") + kCrLf);

    // The other system still works.
    Click(f, "Command2");
    Click(f, "Command9");
    EXPECT_EQ(dialogs_.told.size(), 2);
    EXPECT_EQ(f->Tones(), QStringLiteral("○\r\n\r\n\r\n"));
}

TEST_F(Form1Test, SaveButtonStoresTheWindow)
{
    Form1 *f = OpenForm1();
    f->SetTitle(QStringLiteral("春晓"));
    f->SetPoem(QStringLiteral("春眠不觉晓") + kCrLf + QStringLiteral("处处闻啼鸟") + kCrLf);
    f->ShowTune(QStringLiteral("忆江南"), QStringLiteral("○○●●●-●●○○○-"), QString());
    Click(f, "Command3");   // the book at the moment of saving counts
    Click(f, "Command7");
    EXPECT_EQ(dialogs_.asked, QStringList{QStringLiteral("真的要保存当前数据吗？")});
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("存储完毕！")});
    EXPECT_EQ(Works(), QStringList{QStringLiteral("春晓#春眠不觉晓|处处闻啼鸟|#○○●●●-●●○○○--#忆江南#白香词谱")});
    // The window keeps its contents.
    EXPECT_EQ(f->Title(), QStringLiteral("春晓"));
}

TEST_F(Form1Test, KeyboardSavesAndTheTitleTakesTypingOverItsInitialText)
{
    Form1 *f = OpenForm1();
    QApplication::setActiveWindow(f);
    auto *title = Child<QLineEdit>(f, "Text4");
    auto *poem = Child<QPlainTextEdit>(f, "Text2");

    // Into the title by a click or by Tab: typing replaces the initial text.
    for (const bool byClick : {true, false}) {
        f = OpenForm1();
        QApplication::setActiveWindow(f);
        title = Child<QLineEdit>(f, "Text4");
        poem = Child<QPlainTextEdit>(f, "Text2");
        poem->setFocus();
        if (byClick) {
            QTest::mouseClick(title, Qt::LeftButton, Qt::NoModifier, title->rect().center());
        } else {
            QTest::keyClick(poem, Qt::Key_Tab, Qt::ShiftModifier);
        }
        ASSERT_EQ(QApplication::focusWidget(), title) << byClick;
        Type(title, QStringLiteral("春晓"));
        EXPECT_EQ(f->Title(), QStringLiteral("春晓")) << byClick;
    }
    // A title of the writer's own is not selected: a click puts the cursor.
    poem->setFocus();
    QTest::mouseClick(title, Qt::LeftButton, Qt::NoModifier, QPoint(2, title->height() / 2));
    Type(title, QStringLiteral("题"));
    EXPECT_EQ(f->Title(), QStringLiteral("题春晓"));

    // Ctrl+S saves from wherever the writer types.
    dialogs_.answers = {false, false};
    QTest::keyClick(poem, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(title, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs_.asked, QStringList(2, QStringLiteral("真的要保存当前数据吗？")));
    EXPECT_EQ(f->Title(), QStringLiteral("题春晓"));
}

// 退出写作 asks before unsaved writing goes, and only then.
TEST_F(Form1Test, LeavingAsksOnlyWhenWritingWouldBeLost)
{
    const QString ask = QStringLiteral("作品尚未保存，确定放弃吗？");
    struct Case {
        const char *what;
        std::function<void(Form1 *)> act;
        bool asks;
    };
    const Case cases[] = {
        {"untouched", [](Form1 *) {}, false},
        {"a tune chosen", [](Form1 *f) { f->ShowTune(QStringLiteral("忆江南"), QStringLiteral("○●-"), {}); }, false},
        {"poem typed", [](Form1 *f) { Type(Child(f, "Text2"), QStringLiteral("春")); }, true},
        {"title typed", [](Form1 *f) { Type(Child(f, "Text4"), QStringLiteral("春")); }, true},
        // What 清空栏目 took away still comes back with Ctrl+Z: leaving asks.
        {"typed, then cleared", [](Form1 *f) {
             Type(Child(f, "Text2"), QStringLiteral("春"));
             Click(f, "Command6");
         }, true},
        {"cleared untouched", [](Form1 *f) { Click(f, "Command6"); }, false},
        {"typed, then saved", [](Form1 *f) {
             Type(Child(f, "Text2"), QStringLiteral("春"));
             Click(f, "Command7");
         }, false},
        {"saved, then typed", [](Form1 *f) {
             Click(f, "Command7");
             Type(Child(f, "Text2"), QStringLiteral("眠"));
         }, true},
    };
    for (const Case &c : cases) {
        Form1 *f = OpenForm1();
        dialogs_.answers.clear();   // every other question: Yes
        c.act(f);
        const QString text = f->Poem();
        dialogs_.asked.clear();
        dialogs_.answers = {false};   // No: stay
        Click(f, "Command5");
        EXPECT_EQ(dialogs_.asked.contains(ask), c.asks) << c.what;
        if (c.asks) {
            ASSERT_EQ(Windows().Find("Form1"), f) << c.what;
            EXPECT_EQ(f->Poem(), text) << c.what;
            dialogs_.answers = {true};
            Click(f, "Command5");
        }
        EXPECT_EQ(Windows().Find("Form1"), nullptr) << c.what;
        Settle();
    }
}

// A click into the initial title selects all of it, wherever the focus was,
// so that typing replaces it; on the writer's own title a click places the
// cursor.
TEST_F(Form1Test, AClickIntoTheInitialTitleSelectsItWhereverTheFocusWas)
{
    struct Case {
        const char *what;
        bool titleFocusedFirst;
        bool doubleClick;
    };
    const Case cases[] = {{"from the poem", false, false},
                          {"title already focused", true, false},
                          {"double-click, title focused", true, true}};
    for (const Case &c : cases) {
        Form1 *f = OpenForm1();
        QApplication::setActiveWindow(f);
        auto *title = Child<QLineEdit>(f, "Text4");
        if (c.titleFocusedFirst) {
            title->setFocus();
            title->deselect();
            title->setCursorPosition(3);
        } else {
            Child(f, "Text2")->setFocus();
        }
        const QPoint inside(title->width() / 2, title->height() / 2);
        if (c.doubleClick)
            QTest::mouseDClick(title, Qt::LeftButton, Qt::NoModifier, inside);
        else
            QTest::mouseClick(title, Qt::LeftButton, Qt::NoModifier, inside);
        ASSERT_EQ(QApplication::focusWidget(), title) << c.what;
        EXPECT_EQ(title->selectedText(), QStringLiteral("在此处写作品标题")) << c.what;
        Type(title, QStringLiteral("abc"));
        EXPECT_EQ(f->Title(), QStringLiteral("abc")) << c.what;
    }
}

// 清空栏目 asks nothing; Ctrl+Z brings back everything it emptied, from
// wherever the focus is, once the boxes' own undo is used up.
TEST_F(Form1Test, CtrlZTakesBackTheClear)
{
    const auto fill = [](Form1 *f) {
        f->SetTitle(QStringLiteral("春晓"));
        f->SetPoem(QStringLiteral("春眠不觉晓") + kCrLf);
        f->ShowTune(QStringLiteral("忆江南"), QStringLiteral("○●-"), QStringLiteral("说明-"));
        f->SetToneLegend(QStringLiteral("平仄"));
        f->SetTones(QStringLiteral("○") + kCrLf);
    };
    struct Case {
        const char *focus;     // where Ctrl+Z is pressed
        bool typeFirst;        // a character typed into the poem after the clear
    };
    const Case cases[] = {{"Command6", false}, {"Text2", false}, {"Text4", false}, {"Text5", false},
                          {"Text2", true}};
    for (const Case &c : cases) {
        Form1 *f = OpenForm1();
        QApplication::setActiveWindow(f);
        fill(f);
        const ComposeTexts before = f->Texts();
        const QString explanation = f->Explanation();
        Click(f, "Command6");
        ASSERT_EQ(f->Poem(), QString());
        EXPECT_TRUE(dialogs_.asked.isEmpty());
        QWidget *target = Child(f, QLatin1String(c.focus));
        target->setFocus();
        if (c.typeFirst) {
            QTest::keyClick(target, Qt::Key_A);
            QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);   // the box's own undo first
            ASSERT_EQ(f->Poem(), QString()) << c.focus;
            EXPECT_EQ(f->Title(), QString()) << c.focus;
        }
        QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
        const ComposeTexts after = f->Texts();
        EXPECT_EQ(after.text4, before.text4) << c.focus;
        EXPECT_EQ(after.text2, before.text2) << c.focus;
        EXPECT_EQ(after.text5, before.text5) << c.focus;
        EXPECT_EQ(after.text6, before.text6) << c.focus;
        EXPECT_EQ(after.label1, before.label1) << c.focus;
        EXPECT_EQ(after.label2, before.label2) << c.focus;
        EXPECT_EQ(f->Explanation(), explanation) << c.focus;
        EXPECT_EQ(f->ExplanationHeading(), QStringLiteral("忆江南")) << c.focus;
    }

    // A second clear of an empty window keeps what the first took away;
    // writing put in over it (a work opened) ends the undo.
    Form1 *f = OpenForm1();
    fill(f);
    Click(f, "Command6");
    Click(f, "Command6");
    EXPECT_TRUE(f->UndoClear());
    EXPECT_EQ(f->Title(), QStringLiteral("春晓"));
    Click(f, "Command6");
    f->SetWork(QString(), QString());   // nothing new: the cleared writing stays within reach
    EXPECT_TRUE(f->CanUndoClear());
    EXPECT_TRUE(f->HasUnsavedWriting());
    f->SetWork(QStringLiteral("秋思"), QString());
    f->SetWork(QString(), QString());
    EXPECT_FALSE(f->CanUndoClear());
}

// A double-click on the tune name replaces the title: a title of the
// writer's own that is not saved goes only when the writer agrees.
TEST_F(Form1Test, StartingATitleFromTheTuneAsksOverAnUnsavedTitle)
{
    const QString ask = QStringLiteral("作品尚未保存，确定放弃吗？");
    Form1 *f = OpenForm1();
    f->SetTuneName(QStringLiteral("忆江南"));
    Type(Child(f, "Text2"), QStringLiteral("春"));   // an unsaved poem stays either way: no question
    QTest::mouseDClick(Child(f, "Label1"), Qt::LeftButton);
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_EQ(f->Title(), QStringLiteral("忆江南."));

    f->SetTitle(QStringLiteral("江南好"));
    dialogs_.answers = {false};
    QTest::mouseDClick(Child(f, "Label1"), Qt::LeftButton);
    EXPECT_EQ(dialogs_.asked, QStringList{ask});
    EXPECT_EQ(f->Title(), QStringLiteral("江南好"));
    dialogs_.answers = {true};
    QTest::mouseDClick(Child(f, "Label1"), Qt::LeftButton);
    EXPECT_EQ(f->Title(), QStringLiteral("忆江南."));
}

TEST_F(Form1Test, AWorkWithoutATitleIsNotSaved)
{
    for (const QString &title : {QString(), QStringLiteral("   ")}) {
        Form1 *f = OpenForm1();
        f->SetTitle(title);
        Type(Child(f, "Text2"), QStringLiteral("春"));
        dialogs_.told.clear();
        dialogs_.asked.clear();
        Click(f, "Command7");
        EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("请填写作品标题！")});
        EXPECT_TRUE(dialogs_.asked.isEmpty());
        EXPECT_TRUE(Works().isEmpty());
        EXPECT_TRUE(f->HasUnsavedWriting());
    }
}

}  // namespace
}  // namespace versilo::testing
