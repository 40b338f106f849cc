// SPDX-License-Identifier: GPL-3.0-or-later
// The poetry library: both lists, the chosen poem and author, scrolling, and
// the searches by pinyin initials.
#include <QApplication>
#include <QPlainTextEdit>
#include <cmath>
#include <sqlite3.h>

#include "form5.h"
#include "form7.h"
#include "library.h"
#include "namelist.h"
#include "reference.h"
#include "twips.h"
#include "window_fixture.h"
#include "windownames.h"

namespace versilo::testing {
namespace {

class Form5Test : public WindowTest {
protected:
    Form5Test() : WindowTest(RegisterReferenceWindows, QPoint(60, 40)) {}

    void SetUp() override
    {
        WindowTest::SetUp();
        const QString dir = TempPath(QStringLiteral("library"));
        WriteSeed(dir, QStringLiteral("诗词库"),
                  {QStringLiteral("标题\t作者\t正文"),
                   QStringLiteral("春晓\t孟浩然\t春眠不觉晓，处处闻啼鸟。\\r\\n夜来风雨声，花落知多少。"),
                   QStringLiteral("静夜思\t李白\t床前明月光，疑是地上霜。"),
                   QStringLiteral("枸杞\t佚名\t杞"),
                   QStringLiteral("将进酒\t李白\t君不见黄河之水天上来"),
                   QStringLiteral("夜思\t李 白\t某")});
        WriteSeed(dir, QStringLiteral("作者"),
                  {QStringLiteral("姓名\t朝代\t年代"), QStringLiteral("孟浩然\t唐\t689"),
                   QStringLiteral("李白\t唐\t701"), QStringLiteral("佚名\t---\t0"),
                   QStringLiteral("易安\t宋\t1084")});
        UseSeed(dir);
    }
    Form5 *Open() { return qobject_cast<Form5 *>(Windows().OpenFresh(window::kLibrary)); }
    // The captions of the labels of a list that are not empty.
    static QStringList Names(Form5 *w, const char *list)
    {
        QStringList names;
        for (int i = 0; i < Form5::kLabels; ++i) {
            const QString t = LabelText(w, QStringLiteral("%1_%2").arg(QLatin1String(list)).arg(i));
            if (!t.isEmpty())
                names << t;
        }
        return names;
    }
    static QString Caption(Form5 *w, const char *label) { return LabelText(w, QLatin1String(label)); }
    // Asks for a search as the find buttons do, with the letters typed.
    static void Search(Form5 *w, bool poems, bool authors, const QString &letters)
    {
        AppContext &app = AppContext::Instance();
        app.poemSearchPending = poems;
        app.authorSearchPending = authors;
        app.keypadLetters = letters;
        w->Form_Activate();
    }
};

TEST_F(Form5Test, ListsBothTablesAndShowsTheChosenPoem)
{
    Form5 *w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->pos(), QPoint(60, 40));
    EXPECT_EQ(Names(w, "Label4"), (QStringList{"春晓", "静夜思", "枸杞", "将进酒", "夜思"}));
    EXPECT_EQ(Names(w, "Label5"), (QStringList{"孟浩然", "李白", "佚名", "易安"}));
    EXPECT_EQ(Child(w, "Label4_20")->geometry(), TwRect(720, 7320, 3000, 285));
    EXPECT_EQ(Child(w, "Label5_0")->geometry(), TwRect(10680, 1200, 1905, 285));
    EXPECT_EQ(Child(w, "Label16")->geometry(), TwRect(3840, 1200, 180, 180));
    EXPECT_EQ(Child(w, "Label3")->geometry(), TwRect(10440, 1260, 180, 180));
    auto *text4 = Child<QPlainTextEdit>(w, "Text4");
    EXPECT_FALSE(text4->isVisible());

    Click(w, "Label4_0");
    Click(w, "Label4_0");
    EXPECT_EQ(Names(w, "Label4"), (QStringList{"●春晓", "静夜思", "枸杞", "将进酒", "夜思"}));
    EXPECT_TRUE(text4->isVisible());
    EXPECT_EQ(BoxText(text4), QStringLiteral("春眠不觉晓，处处闻啼鸟。\r\n夜来风雨声，花落知多少。"));
    EXPECT_EQ(Caption(w, "Label17"), QStringLiteral("孟浩然"));
    EXPECT_EQ(Caption(w, "Label2"), QStringLiteral("春晓"));

    // A one-character poem goes on Label1; the mark moves.
    Click(w, "Label4_2");
    EXPECT_EQ(Names(w, "Label4"), (QStringList{"春晓", "静夜思", "●枸杞", "将进酒", "夜思"}));
    EXPECT_FALSE(text4->isVisible());
    EXPECT_TRUE(Child(w, "Label1")->isVisible());
    EXPECT_EQ(Caption(w, "Label1"), QStringLiteral("杞"));

    Click(w, "Label4_9");   // an empty label: nothing happens
    EXPECT_EQ(Names(w, "Label4").filter(QStringLiteral("●")), QStringList{"●枸杞"});

    Click(w, "Label4_1");
    QTest::mouseDClick(text4->viewport(), Qt::LeftButton);
    EXPECT_EQ(Caption(w, "Label2"), QStringLiteral("床前明月光，疑是地上霜。"));

    Click(w, "Image9");   // 返回 hides
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Windows().Find(window::kLibrary), w);
}

TEST_F(Form5Test, ChosenAuthorListsHisPoems)
{
    Form5 *w = Open();
    Click(w, "Label4_0");
    Click(w, "Label5_1");
    EXPECT_EQ(Names(w, "Label4"), (QStringList{"静夜思", "将进酒"}));
    EXPECT_EQ(Names(w, "Label5"), (QStringList{"孟浩然", "●李白", "佚名", "易安"}));
    EXPECT_EQ(Caption(w, "Label17"), QStringLiteral("李白"));
    EXPECT_EQ(Caption(w, "Label2"), QStringLiteral("唐(公元701年)"));
    EXPECT_EQ(BoxText(Child<QPlainTextEdit>(w, "Text4")), QString());

    // Stored under another name: no poems, the author is shown all the same.
    Click(w, "Label5_3");
    EXPECT_EQ(Names(w, "Label4"), QStringList());
    EXPECT_EQ(Names(w, "Label5"), (QStringList{"孟浩然", "李白", "佚名", "●易安"}));
    EXPECT_EQ(Caption(w, "Label2"), QStringLiteral("宋(公元1084年)"));

    // 刷新 brings everything back, without marks, the poem thumb at 1245.
    Click(w, "Image6");
    EXPECT_EQ(Names(w, "Label4").size(), 5);
    EXPECT_EQ(Names(w, "Label5"), (QStringList{"孟浩然", "李白", "佚名", "易安"}));
    EXPECT_EQ(Caption(w, "Label17"), QString());
    EXPECT_EQ(Child(w, "Label16")->geometry(), TwRect(3840, 1245, 180, 180));
}

TEST_F(Form5Test, SearchesByInitialsIgnoringCase)
{
    struct Case {
        bool poems, authors;
        const char *letters;
        QStringList titles, names;
    };
    const QStringList all{"春晓", "静夜思", "枸杞", "将进酒", "夜思"};
    const Case cases[] = {
        {true, false, "jys", {"静夜思"}, {"孟浩然", "李白", "佚名", "易安"}},
        {true, false, "GQ", {"枸杞"}, {"孟浩然", "李白", "佚名", "易安"}},   // stored in lower case
        {true, false, "ys", {"静夜思", "夜思"}, {"孟浩然", "李白", "佚名", "易安"}},
        {true, false, "", all, {"孟浩然", "李白", "佚名", "易安"}},
        {false, true, "lb", all, {"李白"}},
        {true, true, "lb", all, {"李白"}},   // authors first; the poems with the letters gone
        {true, false, "x'", {}, {"孟浩然", "李白", "佚名", "易安"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.letters);
        Form5 *w = Open();
        Search(w, c.poems, c.authors, QLatin1String(c.letters));
        EXPECT_EQ(Names(w, "Label4"), c.titles);
        EXPECT_EQ(Names(w, "Label5"), c.names);
        const AppContext &app = AppContext::Instance();
        EXPECT_FALSE(app.poemSearchPending || app.authorSearchPending);
        EXPECT_EQ(app.keypadLetters, QString());
    }
}

TEST_F(Form5Test, KeypadLettersRunTheSearchWhenItCloses)
{
    Form5 *w = Open();
    const auto keypad = [] { return Windows().Get<Form7>(window::kKeypad); };
    const auto type = [&](const char *letters) {
        for (const char *c = letters; *c; ++c)
            Click(keypad(), QStringLiteral("Command2_%1").arg(*c - 'a'));
    };
    Click(w, "Image7");   // 查找作品
    ASSERT_NE(keypad(), nullptr);
    type("jy");
    // A click on the library while the keypad is open searches with the
    // letters so far; the keypad stays.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w, &activate);
    EXPECT_EQ(Names(w, "Label4"), QStringList{"静夜思"});
    ASSERT_NE(keypad(), nullptr);
    Click(w, "Image6");

    Click(w, "Image7");
    type("jys");
    Click(keypad(), "Command1");   // 返回
    Settle();
    EXPECT_EQ(keypad(), nullptr);
    EXPECT_EQ(Names(w, "Label4"), QStringList{"静夜思"});

    // Both asked for: the authors get the letters, the poems all come back.
    Click(w, "Image8");   // 查找作者, the keypad over the author list
    EXPECT_EQ(keypad()->pos(), w->pos() + TwPoint(10680, 5175));
    Click(w, "Image7");   // 查找作品, the keypad over the poem list
    EXPECT_EQ(keypad()->pos(), w->pos() + TwPoint(720, 5175));
    type("lb");
    Click(keypad(), "Command1");
    Settle();
    EXPECT_EQ(Names(w, "Label5"), QStringList{"李白"});
    EXPECT_EQ(Names(w, "Label4").size(), 5);
}

TEST_F(Form5Test, ArrowsAndThumbScrollTheList)
{
    QStringList rows{QStringLiteral("标题\t作者\t正文")};
    for (int i = 0; i < 50; ++i)
        rows << QStringLiteral("诗%1\t某\t句").arg(i);
    const QString dir = TempPath(QStringLiteral("fifty"));
    WriteSeed(dir, QStringLiteral("诗词库"), rows);
    UseSeed(dir);
    Form5 *w = Open();
    NameList *list = w->PoemList();
    Click(w, "Image2");
    Click(w, "Image2");
    EXPECT_EQ(LabelText(w, "Label4_0"), QStringLiteral("诗2"));
    EXPECT_DOUBLE_EQ(list->Scroll().ThumbTop(), 1245 + std::ceil(2 * 6192.0 / 50));   // where a drag shows it
    Click(w, "Image1");
    EXPECT_EQ(LabelText(w, "Label4_0"), QStringLiteral("诗1"));
    EXPECT_DOUBLE_EQ(list->Scroll().ThumbTop(), 1245 + std::ceil(6192.0 / 50));

    // Dragged to about the middle of its track: about half the list on.
    QWidget *thumb = Child(w, "Label16");
    Send(thumb, QEvent::MouseButtonPress, QPoint(2, 2));
    const int y = Px(4341) - thumb->y() + 2;
    Send(thumb, QEvent::MouseMove, QPoint(2, y));
    Send(thumb, QEvent::MouseButtonRelease, QPoint(2, y));
    EXPECT_NEAR(list->Scroll().ThumbTop(), 4341, 15);
    EXPECT_EQ(list->Start(), PoemScrollRules().startAt(list->Scroll().ThumbTop(), 50));
    EXPECT_NEAR(list->Start(), 25, 1);
    EXPECT_EQ(LabelText(w, "Label4_0"), QStringLiteral("诗%1").arg(list->Start()));
}

// Every title and every author is reached by the arrows and by the keys,
// and no further: 100 poems and 30 authors.
TEST_F(Form5Test, ArrowsAndKeysReachTheLastNameOfBothLists)
{
    QStringList poems{QStringLiteral("标题\t作者\t正文")};
    for (int i = 0; i < 100; ++i)
        poems << QStringLiteral("诗%1\t某\t句").arg(i);
    QStringList authors{QStringLiteral("姓名\t朝代\t年代")};
    for (int i = 0; i < 30; ++i)
        authors << QStringLiteral("人%1\t唐\t700").arg(i);
    const QString dir = TempPath(QStringLiteral("hundred"));
    WriteSeed(dir, QStringLiteral("诗词库"), poems);
    WriteSeed(dir, QStringLiteral("作者"), authors);
    UseSeed(dir);
    Form5 *w = Open();
    QApplication::setActiveWindow(w);
    const struct {
        const char *label, *down, *up, *thumb;
        QString last;
        int lastStart;
    } lists[] = {
        {"Label4", "Image2", "Image1", "Label16", QStringLiteral("诗99"), 100 - Form5::kLabels},
        {"Label5", "Image4", "Image3", "Label3", QStringLiteral("人29"), 30 - Form5::kLabels},
    };
    for (const auto &l : lists) {
        SCOPED_TRACE(l.label);
        const QString lastLabel = QStringLiteral("%1_%2").arg(QLatin1String(l.label)).arg(Form5::kLabels - 1);
        QWidget *thumb = Child(w, QLatin1String(l.thumb));
        int lastTop = thumb->y();
        for (int i = 0; i < 120; ++i) {
            Click(w, QLatin1String(l.down));
            EXPECT_GE(thumb->y(), lastTop);
            lastTop = thumb->y();
        }
        EXPECT_EQ(LabelText(w, lastLabel), l.last);
        for (int i = 0; i < 120; ++i)
            Click(w, QLatin1String(l.up));
        EXPECT_EQ(LabelText(w, QStringLiteral("%1_0").arg(QLatin1String(l.label))), l.last.left(1) + u'0');

        // The keys: from the first label down, the list scrolling at the last.
        Child(w, QStringLiteral("%1_0").arg(QLatin1String(l.label)))->setFocus();
        for (int i = 0; i < 120; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), lastLabel);
        EXPECT_EQ(LabelText(w, lastLabel), l.last);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(LabelText(w, "Label17"), l.last.startsWith(u'诗') ? QStringLiteral("某") : l.last);
    }
    // The author's list of poems: 人29 has none.
    EXPECT_EQ(w->PoemCount(), 0);
}

// A search the store cannot answer says why and leaves the lists as they were.
TEST_F(Form5Test, ASearchTheStoreRefusesIsReported)
{
    Form5 *w = Open();
    ASSERT_EQ(sqlite3_exec(AppContext::Instance().Store().Handle(), "drop table 作者", nullptr, nullptr, nullptr),
              SQLITE_OK);
    Click(w, "Image8");
    Click(Windows().Get<Form7>(window::kKeypad), "Command1");
    Settle();
    ASSERT_EQ(dialogs_.told.size(), 1);
    EXPECT_TRUE(dialogs_.told[0].startsWith(QStringLiteral("查找失败：数据库里缺少所需的数据表或字段")))
        << dialogs_.told[0].toStdString();
    EXPECT_EQ(Names(w, "Label5"), (QStringList{"孟浩然", "李白", "佚名", "易安"}));
    Click(w, "Label5_1");   // 李白's poems are still to be had
    EXPECT_EQ(Names(w, "Label4"), (QStringList{"静夜思", "将进酒"}));
    EXPECT_EQ(dialogs_.told.size(), 1);
}

}  // namespace
}  // namespace versilo::testing
