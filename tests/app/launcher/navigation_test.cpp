// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher with the real windows of this build: opening afresh, closing,
// and dragging a stack of windows. Skipped for windows the build lacks.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "appcontext.h"
#include "gateway.h"
#include "ui_support.h"
#include "dialogs.h"
#include "launcher.h"
#include "widgets.h"
#include "windowregistry.h"

using namespace versilo;
using namespace versilo::testing;

namespace {

// A left-button press or release as the mouse makes it, through the
// platform: the window system hands it to the window under the pointer, and
// Qt decides from the times whether it is the second press of a double-click.
void PlatformMouse(QWidget *window, QEvent::Type type, QPoint global, int ms)
{
    static int base = 1000000000;   // far from the times of earlier events
    const bool press = type == QEvent::MouseButtonPress;
    qt_handleMouseEvent(window->windowHandle(), window->mapFromGlobal(QPointF(global)), QPointF(global),
                        press ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type, Qt::NoModifier,
                        base + ms);
    if (type == QEvent::MouseButtonRelease && ms > 5000)
        base += 100000;
}

// Typed text as a key press of the keyboard (any characters, Chinese too).
void Type(QWidget *target, const QString &text)
{
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text, Qt::NoModifier);
}

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        AppContext &app = AppContext::Instance();
        app.Reset();
        saved = app.Store().Location();
        app.Store().SetLocation(StoreLocation{tmp.path(), QStringLiteral(VERSILO_SOURCE_DIR "/data/seed")});
        app.SetDialogs(&dialogs);
        RegisterAllWindows(app.Windows());
        launcher = qobject_cast<Form10 *>(app.Windows().Show(QStringLiteral("Form10")));
        ASSERT_TRUE(launcher);
        launcher->move(40, 30);
    }
    void TearDown() override
    {
        AppContext &app = AppContext::Instance();
        app.Reset();
        app.SetDialogs(nullptr);
        app.Store().SetLocation(saved);
    }
    static WindowRegistry &Windows() { return AppContext::Instance().Windows(); }
    void Release(QWidget *window, const char *control)
    {
        QWidget *w = window->findChild<QWidget *>(QLatin1String(control));
        ASSERT_TRUE(w) << control;
        if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            b->click();
        } else {
            Send(w, QEvent::MouseButtonPress, QPoint(3, 3));
            Send(w, QEvent::MouseButtonRelease, QPoint(3, 3));
        }
    }

    QTemporaryDir tmp;
    StoreLocation saved;
    ScriptedDialogs dialogs;
    Form10 *launcher = nullptr;
};

}  // namespace

TEST_F(NavigationTest, WritingOpensAfreshOverTheLauncherEveryTime)
{
    if (!Windows().IsRegistered(QStringLiteral("Form1")))
        GTEST_SKIP() << "no composition window in this build";
    for (int round = 0; round < 2; ++round) {
        Release(launcher, "Image2");
        QWidget *form1 = Windows().Find(QStringLiteral("Form1"));
        ASSERT_TRUE(form1);
        EXPECT_TRUE(form1->isVisible());
        EXPECT_EQ(form1->pos(), launcher->pos());
        auto *title = form1->findChild<QLineEdit *>(QStringLiteral("Text4"));
        ASSERT_TRUE(title);
        EXPECT_EQ(title->text(), QStringLiteral("在此处写作品标题"));
        title->setText(QStringLiteral("未保存的标题"));
        Release(form1, "Command5");   // 退出写作
        EXPECT_EQ(Windows().Find(QStringLiteral("Form1")), nullptr);
        Settle();
    }
    EXPECT_TRUE(launcher->isVisible());
    EXPECT_TRUE(dialogs.told.isEmpty()) << dialogs.told.join(QLatin1Char('\n')).toStdString();
}

TEST_F(NavigationTest, WorksManagementAndPrintingOpenAfreshOverTheLauncher)
{
    const std::pair<const char *, QString> cases[] = {{"Image18", window::kWorksManager}, {"Image16", window::kPrinting}};
    for (const auto &[button, form] : cases) {
        if (!Windows().IsRegistered(form))
            continue;
        Release(launcher, button);
        QPointer<QWidget> first = Windows().Find(form);
        ASSERT_TRUE(first && first->isVisible()) << button;
        EXPECT_EQ(first->pos(), launcher->pos());
        Windows().Hide(form);
        Release(launcher, button);   // a hidden one is discarded
        Settle();
        EXPECT_TRUE(first.isNull()) << button;
        ASSERT_TRUE(Windows().Find(form));
        EXPECT_TRUE(Windows().Find(form)->isVisible());
    }
    EXPECT_TRUE(dialogs.told.isEmpty()) << dialogs.told.join(QLatin1Char('\n')).toStdString();
}

TEST_F(NavigationTest, DraggingTheWorksBrowserTakesTheStackAlong)
{
    if (!Windows().IsRegistered(QStringLiteral("Form1")) ||
        !Windows().IsRegistered(QStringLiteral("Form3")))
        GTEST_SKIP() << "no works browser in this build";
    Release(launcher, "Image2");
    QWidget *form1 = Windows().Find(QStringLiteral("Form1"));
    ASSERT_TRUE(form1);
    Release(form1, "Command8");   // 打开作品
    auto *form3 = qobject_cast<VersiloWindow *>(Windows().Find(QStringLiteral("Form3")));
    ASSERT_TRUE(form3);
    EXPECT_EQ(form3->pos(), launcher->pos());

    // Press on a bare spot of the background, between the list and the buttons.
    QPoint spot(5, form3->height() - 5);
    ASSERT_EQ(form3->childAt(spot), nullptr);
    Send(form3, QEvent::MouseButtonPress, spot);
    Send(form3, QEvent::MouseMove, spot + QPoint(33, 22));
    Send(form3, QEvent::MouseButtonRelease, spot + QPoint(33, 22));
    EXPECT_EQ(form3->pos(), QPoint(73, 52));
    EXPECT_EQ(launcher->pos(), QPoint(73, 52));
    EXPECT_EQ(form1->pos(), QPoint(73, 52));

    // Dragging the launcher afterwards moves only the launcher.
    Windows().Close(QStringLiteral("Form3"));
    Send(launcher, QEvent::MouseButtonPress, spot);
    Send(launcher, QEvent::MouseMove, spot + QPoint(-13, -2));
    Send(launcher, QEvent::MouseButtonRelease, spot + QPoint(-13, -2));
    EXPECT_EQ(launcher->pos(), QPoint(60, 50));
    EXPECT_EQ(form1->pos(), QPoint(73, 52));
    Settle();
}

TEST_F(NavigationTest, DoubleClickOnGiveUpLeavesTheCompositionWindowOpen)
{
    // 放弃返回 of the pattern and works browsers lies over 退出写作: the second
    // press of a double-click on it must not close the unsaved poem.
    if (!Windows().IsRegistered(QStringLiteral("Form1")))
        GTEST_SKIP() << "no composition window in this build";
    const struct {
        const char *browser;
        const char *opener;
        QPoint spot;   // on 放弃返回 and on 退出写作 beneath it
    } cases[] = {{"Form2", "Command4", QPoint(810, 545)}, {"Form3", "Command8", QPoint(810, 540)}};
    for (const auto &c : cases) {
        if (!Windows().IsRegistered(QLatin1String(c.browser)))
            continue;
        Release(launcher, "Image2");
        QPointer<QWidget> form1 = Windows().Find(QStringLiteral("Form1"));
        ASSERT_TRUE(form1);
        Release(form1, c.opener);
        QWidget *browser = Windows().Find(QLatin1String(c.browser));
        ASSERT_TRUE(browser && QTest::qWaitForWindowExposed(browser));
        const QPoint global = browser->mapToGlobal(c.spot);
        ASSERT_EQ(browser->childAt(c.spot)->objectName(), QStringLiteral("Image6")) << c.browser;
        ASSERT_EQ(form1->childAt(form1->mapFromGlobal(global))->objectName(), QStringLiteral("Command5"));

        PlatformMouse(browser, QEvent::MouseButtonPress, global, 0);
        PlatformMouse(browser, QEvent::MouseButtonRelease, global, 60);
        EXPECT_EQ(Windows().Find(QLatin1String(c.browser)), nullptr) << c.browser;
        // The second press of the double-click lands on the window beneath.
        PlatformMouse(form1, QEvent::MouseButtonPress, global, 150);
        PlatformMouse(form1, QEvent::MouseButtonRelease, global, 210);
        Settle();
        ASSERT_TRUE(form1 && form1->isVisible()) << c.browser;
        EXPECT_EQ(Windows().Find(QStringLiteral("Form1")), form1.data()) << c.browser;

        // A click of its own, later, still closes the window.
        PlatformMouse(form1, QEvent::MouseButtonPress, global, 3000);
        PlatformMouse(form1, QEvent::MouseButtonRelease, global, 6000);
        EXPECT_EQ(Windows().Find(QStringLiteral("Form1")), nullptr) << c.browser;
        Settle();
    }
}

TEST_F(NavigationTest, AFailedWindowLoadLeavesTheCompositionWindowWorking)
{
    if (!Windows().IsRegistered(QStringLiteral("Form1")) || !Windows().IsRegistered(QStringLiteral("Form2")))
        GTEST_SKIP() << "no pattern browser in this build";
    Release(launcher, "Image2");
    QWidget *form1 = Windows().Find(QStringLiteral("Form1"));
    ASSERT_TRUE(form1);
    form1->findChild<QLineEdit *>(QStringLiteral("Text4"))->setText(QStringLiteral("未失"));
    form1->findChild<QPlainTextEdit *>(QStringLiteral("Text2"))->setPlainText(QStringLiteral("春眠不觉晓"));

    // The pattern browser opens while the file cannot be opened for a moment.
    const QString file = AppContext::Instance().Store().FilePath();
    ASSERT_TRUE(QFile::rename(file, file + QStringLiteral(".aside")));
    { QFile empty(file); ASSERT_TRUE(empty.open(QIODevice::WriteOnly)); }
    Release(form1, "Command4");
    ASSERT_FALSE(dialogs.told.isEmpty());
    Release(Windows().Find(QStringLiteral("Form2")), "Image6");
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QFile::rename(file + QStringLiteral(".aside"), file));
    dialogs.told.clear();

    // Saving and checking in the composition window work again.
    Release(form1, "Command7");
    EXPECT_EQ(dialogs.told, QStringList{QStringLiteral("存储完毕！")});
    Release(form1, "Command1");
    const QString marks = form1->findChild<QPlainTextEdit *>(QStringLiteral("Text6"))->toPlainText();
    EXPECT_EQ(marks.section(u'\n', 0, 0).size(), 5) << marks.toStdString();
    EXPECT_EQ(dialogs.told.size(), 1) << dialogs.told.join(u'\n').toStdString();
    Settle();
}

TEST_F(NavigationTest, EndingAsksOnlyForUnsavedWriting)
{
    if (!Windows().IsRegistered(QStringLiteral("Form1")))
        GTEST_SKIP() << "no composition window in this build";
    const QString ask = QStringLiteral("作品尚未保存，确定放弃吗？");
    int ends = 0;
    launcher->SetEndAction([&ends] { ++ends; });
    Release(launcher, "Image3");   // 结束退出 with no composition window
    Release(launcher, "Image2");
    QWidget *form1 = Windows().Find(QStringLiteral("Form1"));
    ASSERT_TRUE(form1);
    Release(launcher, "Image3");   // with one that holds nothing new
    EXPECT_EQ(ends, 2);
    EXPECT_TRUE(dialogs.asked.isEmpty());

    auto *poem = form1->findChild<QPlainTextEdit *>(QStringLiteral("Text2"));
    ASSERT_TRUE(poem);
    QTest::keyClick(poem, Qt::Key_A);
    const QString typed = poem->toPlainText();
    // No keeps the program, the window and the writing, from the launcher
    // and from the desktop's close alike.
    dialogs.answers = {false, false};
    Release(launcher, "Image3");
    EXPECT_FALSE(form1->close());
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(dialogs.asked, QStringList(2, ask));
    EXPECT_EQ(Windows().Find(QStringLiteral("Form1")), form1);
    EXPECT_EQ(poem->toPlainText(), typed);
    dialogs.answers = {true};
    Release(launcher, "Image3");
    EXPECT_EQ(ends, 3);
}

// Every window of this build with a paged list shows its page indicator
// where it covers no control: only pictures that let the mouse through lie
// beneath it.
TEST_F(NavigationTest, PageIndicatorsCoverNoControl)
{
    for (int n = 1; n <= 11; ++n) {
        const QString name = QStringLiteral("Form%1").arg(n);
        if (n == 10 || !Windows().IsRegistered(name))
            continue;
        QWidget *w = Windows().OpenFresh(name);
        ASSERT_TRUE(w) << name.toStdString();
        for (QLabel *page : w->findChildren<QLabel *>(QStringLiteral("PageIndicator"))) {
            EXPECT_TRUE(page->isVisibleTo(w)) << name.toStdString();
            EXPECT_TRUE(page->text().contains(QRegularExpression(QStringLiteral("^第 \\d+ / \\d+ 页$"))))
                << name.toStdString() << ' ' << page->text().toStdString();
            EXPECT_TRUE(w->rect().contains(page->geometry())) << name.toStdString();
            for (QWidget *other : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (other == page || !other->isVisibleTo(w) || other->testAttribute(Qt::WA_TransparentForMouseEvents))
                    continue;
                EXPECT_FALSE(other->geometry().intersects(page->geometry()))
                    << name.toStdString() << ": under " << other->objectName().toStdString();
            }
        }
        Windows().CloseAll();
        Settle();
        launcher = qobject_cast<Form10 *>(Windows().Show(QStringLiteral("Form10")));
    }
}

TEST_F(NavigationTest, KnowledgePagesAndLibraryOpenFromTheLauncher)
{
    if (!Windows().IsRegistered(QStringLiteral("Form4")) || !Windows().IsRegistered(QStringLiteral("Form5")))
        GTEST_SKIP() << "no reference windows in this build";
    // 诗词常识: closed by its 返回; dragging it takes only the launcher along.
    Release(launcher, "Image17");
    auto *form4 = qobject_cast<VersiloWindow *>(Windows().Find(QStringLiteral("Form4")));
    ASSERT_TRUE(form4);
    EXPECT_TRUE(form4->isVisible());
    EXPECT_EQ(form4->pos(), launcher->pos());
    const QPoint spot(5, form4->height() - 5);
    ASSERT_EQ(form4->childAt(spot), nullptr);
    Send(form4, QEvent::MouseButtonPress, spot);
    Send(form4, QEvent::MouseMove, spot + QPoint(10, 20));
    Send(form4, QEvent::MouseButtonRelease, spot + QPoint(10, 20));
    EXPECT_EQ(form4->pos(), QPoint(50, 50));
    EXPECT_EQ(launcher->pos(), QPoint(50, 50));
    Release(form4, "Command6");
    EXPECT_EQ(Windows().Find(QStringLiteral("Form4")), nullptr);

    // 诗词阅读: 返回 hides it; the launcher opens it afresh.
    Release(launcher, "Image14");
    QPointer<QWidget> form5 = Windows().Find(QStringLiteral("Form5"));
    ASSERT_TRUE(form5);
    EXPECT_EQ(form5->pos(), launcher->pos());
    EXPECT_FALSE(form5->findChild<QLabel *>(QStringLiteral("Label4_0"))->text().isEmpty());
    Release(form5, "Image9");
    EXPECT_FALSE(form5->isVisible());
    Release(launcher, "Image14");
    EXPECT_NE(Windows().Find(QStringLiteral("Form5")), form5.data());
    EXPECT_TRUE(Windows().Find(QStringLiteral("Form5"))->isVisible());
    EXPECT_TRUE(dialogs.told.isEmpty()) << dialogs.told.join(u'\n').toStdString();
    Settle();
}

// 诗词写作 pressed again over an open composition window (the launcher raised
// under a window manager) brings that window forward, writing and the
// browser over it included; nothing is asked.
TEST_F(NavigationTest, WritingAgainBringsTheOpenCompositionWindowForward)
{
    if (!Windows().IsRegistered(QStringLiteral("Form1")) || !Windows().IsRegistered(QStringLiteral("Form3")))
        GTEST_SKIP() << "no composition window in this build";
    Release(launcher, "Image2");
    QPointer<QWidget> form1 = Windows().Find(QStringLiteral("Form1"));
    ASSERT_TRUE(form1);
    auto *poem = form1->findChild<QPlainTextEdit *>(QStringLiteral("Text2"));
    QTest::keyClicks(poem, QStringLiteral("abc"));
    const QString typed = poem->toPlainText();
    Release(form1, "Command8");
    QPointer<QWidget> form3 = Windows().Find(QStringLiteral("Form3"));
    ASSERT_TRUE(form3);

    launcher->move(90, 70);   // the launcher was dragged meanwhile
    Release(launcher, "Image2");
    Settle();
    ASSERT_TRUE(form1);
    EXPECT_EQ(Windows().Find(QStringLiteral("Form1")), form1.data());
    EXPECT_TRUE(form1->isVisible());
    EXPECT_EQ(poem->toPlainText(), typed);
    EXPECT_EQ(form1->pos(), launcher->pos());
    ASSERT_TRUE(form3);
    EXPECT_TRUE(form3->isVisible());
    EXPECT_TRUE(dialogs.asked.isEmpty());

    // Once closed, it opens afresh again.
    Release(form3, "Image6");
    dialogs.answers = {true};
    Release(form1, "Command5");
    Settle();
    Release(launcher, "Image2");
    QWidget *fresh = Windows().Find(QStringLiteral("Form1"));
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->findChild<QPlainTextEdit *>(QStringLiteral("Text2"))->toPlainText(),
              QStringLiteral("在此处撰写诗词\n"));
}

// 作品管理 pressed again over works management with changed fields asks;
// No brings the window with its fields forward, Yes opens it afresh.
TEST_F(NavigationTest, WorksManagementAgainAsksBeforeChangedFieldsGo)
{
    if (!Windows().IsRegistered(window::kWorksManager))
        GTEST_SKIP() << "no works management in this build";
    Release(launcher, "Image18");
    QPointer<QWidget> form9 = Windows().Find(window::kWorksManager);
    ASSERT_TRUE(form9);
    auto *author = form9->findChild<QLineEdit *>(QStringLiteral("Text2"));
    Type(author, QStringLiteral("李白"));
    dialogs.answers = {false};
    Release(launcher, "Image18");
    Settle();
    ASSERT_TRUE(form9);
    EXPECT_EQ(Windows().Find(window::kWorksManager), form9.data());
    EXPECT_EQ(author->text(), QStringLiteral("李白"));
    EXPECT_EQ(dialogs.asked, QStringList{QStringLiteral("作品尚未保存，确定放弃吗？")});
    dialogs.answers = {true};
    Release(launcher, "Image18");
    Settle();
    EXPECT_TRUE(form9.isNull());
    ASSERT_TRUE(Windows().Find(window::kWorksManager));
    // Unchanged, it opens afresh without a question.
    dialogs.asked.clear();
    Release(launcher, "Image18");
    EXPECT_TRUE(dialogs.asked.isEmpty());
}

// A writer who never saves and answers every question with 否 loses
// nothing to any button, key, click or close of the composition window,
// the works browser, works management or the launcher.
TEST_F(NavigationTest, AWriterWhoNeverSavesLosesNothing)
{
    for (const char *form : {"Form1", "Form3", "Form9"}) {
        if (!Windows().IsRegistered(QLatin1String(form)))
            GTEST_SKIP() << "this build lacks " << form;
    }
    int ends = 0;
    launcher->SetEndAction([&ends] { ++ends; });
    Release(launcher, "Image2");
    QPointer<QWidget> form1 = Windows().Find(QStringLiteral("Form1"));
    ASSERT_TRUE(form1);
    QApplication::setActiveWindow(form1);
    // A stored work to be chosen in the works windows.
    WorkRow stored;
    stored.title = QStringLiteral("春晓");
    stored.poem = QStringLiteral("春眠不觉晓|");
    ASSERT_TRUE(InsertRow(AppContext::Instance().Store().Rs(), kWorksTable, stored));

    auto *title = form1->findChild<QLineEdit *>(QStringLiteral("Text4"));
    auto *poem = form1->findChild<QPlainTextEdit *>(QStringLiteral("Text2"));
    QTest::mouseClick(title, Qt::LeftButton);
    Type(title, QStringLiteral("未存"));
    poem->setFocus();
    QTest::keyClick(poem, Qt::Key_End, Qt::ControlModifier);
    Type(poem, QStringLiteral("夜来风雨声"));
    const QString typedTitle = title->text();
    const QString typedPoem = poem->toPlainText();
    ASSERT_EQ(typedTitle, QStringLiteral("未存"));
    dialogs.defaultAnswer = false;   // every question: 否

    const auto child = [](const QString &form, const char *name) {
        QWidget *w = Windows().Find(form);
        return w ? w->findChild<QWidget *>(QLatin1String(name)) : nullptr;
    };
    const auto click = [&child](const QString &form, const char *name) {
        if (QWidget *w = child(form, name))
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3));
    };
    const auto openWorksBrowser = [&] { click(QStringLiteral("Form1"), "Command8"); };
    const auto openManagement = [&] { Release(launcher, "Image18"); };
    struct Step {
        const char *what;
        std::function<void()> act;
        bool asks;   // a question (answered 否) stands between the step and a loss
    };
    const Step steps[] = {
        {"诗词写作 again", [&] { Release(launcher, "Image2"); }, false},
        {"退出写作", [&] { click(QStringLiteral("Form1"), "Command5"); }, true},
        {"desktop close", [&] { form1->close(); }, true},
        {"Esc", [&] { QTest::keyClick(poem, Qt::Key_Escape); }, false},
        {"清空栏目, Ctrl+Z", [&] {
             click(QStringLiteral("Form1"), "Command6");
             QTest::keyClick(poem, Qt::Key_Z, Qt::ControlModifier);
         }, false},
        {"tune name double-click", [&] {
             QTest::mouseDClick(child(QStringLiteral("Form1"), "Label1"), Qt::LeftButton);
         }, true},
        {"works browser: a title", [&] {
             openWorksBrowser();
             click(QStringLiteral("Form3"), "Label4_0");
             QTest::keyClick(Windows().Find(QStringLiteral("Form3")), Qt::Key_Escape);
         }, true},
        {"management: a title, 诗词写作", [&] {
             openManagement();
             click(window::kWorksManager, "Label4_0");
             click(window::kWorksManager, "Image9");
         }, true},
        {"management: fields typed, leaving", [&] {
             Type(child(window::kWorksManager, "Text6"), QStringLiteral("改"));
             click(window::kWorksManager, "Image6");
             QTest::keyClick(child(window::kWorksManager, "Text1"), Qt::Key_Escape);
             QTest::mouseClick(Windows().Find(window::kWorksManager), Qt::LeftButton, {}, QPoint(8, 8));
             Windows().Find(window::kWorksManager)->close();
             click(window::kWorksManager, "Image9");
             openManagement();
         }, true},
        {"结束退出", [&] { Release(launcher, "Image3"); }, true},
        {"launcher's desktop close", [&] { launcher->close(); }, true},
        {"the other launcher buttons", [&] {
             for (const char *b : {"Image17", "Image15", "Image14", "Image16", "Image9"})
                 Release(launcher, b);
         }, false},
    };
    for (const Step &step : steps) {
        const char *what = step.what;
        const qsizetype askedBefore = dialogs.asked.size();
        step.act();
        Settle();
        EXPECT_EQ(dialogs.asked.size() > askedBefore, step.asks) << what;
        ASSERT_TRUE(form1) << what;
        EXPECT_EQ(Windows().Find(QStringLiteral("Form1")), form1.data()) << what;
        EXPECT_EQ(title->text(), typedTitle) << what;
        EXPECT_EQ(poem->toPlainText(), typedPoem) << what;
        EXPECT_EQ(ends, 0) << what;
    }
    // Works management still holds its typed change, and nothing was stored.
    ASSERT_TRUE(Windows().Find(window::kWorksManager));
    EXPECT_EQ(qobject_cast<QLineEdit *>(child(window::kWorksManager, "Text6"))->text(), QStringLiteral("春晓改"));
    std::vector<WorkRow> works;
    ASSERT_TRUE(ReadAll(AppContext::Instance().Store().Rs(), QStringLiteral("select *from 作品"), {}, works));
    ASSERT_EQ(works.size(), 1u);
    EXPECT_EQ(works[0].title, QStringLiteral("春晓"));
    EXPECT_FALSE(dialogs.asked.isEmpty());
}
