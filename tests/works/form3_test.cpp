// SPDX-License-Identifier: GPL-3.0-or-later
// The works browser: listing and paging the stored works, and putting one
// back into the composition window with its tune fetched from its book.
#include <QApplication>

#include "form3.h"
#include "twips.h"
#include "window_fixture.h"
#include "works.h"

namespace versilo::testing {
namespace {

class Form3Test : public WindowTest {
protected:
    static QString Title(Form3 *w, int i) { return LabelText(w, QStringLiteral("Label4_%1").arg(i)); }
    Form3 *OpenForm3(Form1 *f) { return OpenFrom<Form3>(f, "Command8", window::kWorksBrowser); }
    Form3Test() : WindowTest(RegisterWorksWindows, QPoint(60, 40)) {}
};

TEST_F(Form3Test, ListsThreeWorksAndAnEmptyLabelOnlyCloses)
{
    AddWork(QStringLiteral("春晓"), QStringLiteral("春眠不觉晓|处处闻啼鸟|"), QStringLiteral("忆江南"));
    AddWork(QStringLiteral("秋思"), QStringLiteral("A|B"));
    AddWork(QStringLiteral("冬夜"), QStringLiteral("C"));
    Form1 *f = OpenForm1();
    Form3 *w = OpenForm3(f);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->pos(), f->pos());
    EXPECT_EQ(f->pos(), QPoint(60, 40));
    EXPECT_EQ(Title(w, 0), QStringLiteral("春晓"));
    EXPECT_EQ(Title(w, 1), QStringLiteral("秋思"));
    EXPECT_EQ(Title(w, 2), QStringLiteral("冬夜"));
    for (int i = 3; i < Form3::kLabels; ++i)
        ASSERT_EQ(Title(w, i), QString()) << i;
    EXPECT_EQ(Child(w, "Label4_0")->geometry(), TwRect(840, 600, 2805, 315));
    EXPECT_EQ(Child(w, "Label4_79")->geometry(), TwRect(9600, 7275, 2805, 315));
    EXPECT_EQ(Child(w, "Image4")->geometry(), TwRect(9720, 7800, 1305, 405));
    auto *close = Child<PictureButton>(w, "Image6");
    QTest::mousePress(close, Qt::LeftButton);
    EXPECT_FALSE(close->IsPressedLook());
    QTest::mouseRelease(close, Qt::LeftButton, {}, QPoint(-5, -5));   // released away: no click
    ASSERT_NE(Windows().Find("Form3"), nullptr);

    Click(w, "Label4_3");
    EXPECT_EQ(Windows().Find("Form3"), nullptr);
    EXPECT_EQ(f->Title(), QStringLiteral("在此处写作品标题"));
    EXPECT_EQ(f->Poem(), QStringLiteral("在此处撰写诗词") + kCrLf);
}

TEST_F(Form3Test, DraggingTheBrowserMovesTheCompositionWindowAlong)
{
    Form1 *f = OpenForm1();
    Form3 *w = OpenForm3(f);
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseMove(w, QPoint(28, 18));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(28, 18));
    EXPECT_EQ(w->pos(), QPoint(80, 50));
    EXPECT_EQ(f->pos(), w->pos());
    EXPECT_EQ(Windows().Launcher()->pos(), w->pos());
}

TEST_F(Form3Test, ChosenWorkArrivesWithItsTune)
{
    AddWork(QStringLiteral("春晓"), QStringLiteral("春眠不觉晓|处处闻啼鸟|"), QStringLiteral("忆江南"));
    AddWork(QStringLiteral("秋思"), QStringLiteral("A|B"), QStringLiteral("无此调"));
    AddWork(QStringLiteral("春'夜"), QStringLiteral("C"), QStringLiteral("捣练子"));
    AddWork(QStringLiteral("坏书"), QStringLiteral("D"), QStringLiteral("忆江南"), QStringLiteral("作品"));
    Form1 *f = OpenForm1();
    Click(f, "Command2");
    Click(f, "Command3");
    f->SetTones(QStringLiteral("旧") + kCrLf);

    Click(OpenForm3(f), "Label4_0");
    EXPECT_EQ(Windows().Find("Form3"), nullptr);
    EXPECT_EQ(f->Title(), QStringLiteral("春晓"));
    EXPECT_EQ(f->Poem(), QStringLiteral("春眠不觉晓\r\n处处闻啼鸟\r\n"));
    ExpectTune(f, QStringLiteral("忆江南"), QStringLiteral("○○●●●\r\n●●○○○\r\n\r\n"),
               QStringLiteral("单调二十七字\r\n例：白居易词\r\n"));
    EXPECT_EQ(f->Tones(), QString());
    EXPECT_EQ(f->RhymeSystem(), QStringLiteral("平水韵"));
    EXPECT_EQ(f->PatternBook(), QStringLiteral("白香词谱"));

    // A tune the book does not hold: title and poem in full, no tune.
    Click(OpenForm3(f), "Label4_1");
    EXPECT_EQ(f->Title(), QStringLiteral("秋思"));
    EXPECT_EQ(f->Poem(), QStringLiteral("A\r\nB"));
    EXPECT_EQ(f->TuneName(), QString());
    EXPECT_EQ(f->ExplanationHeading(), QString());
    EXPECT_EQ(f->Pattern(), kCrLf);
    EXPECT_EQ(f->Explanation(), QString());

    // A title with a quote finds its tune like any other.
    Click(OpenForm3(f), "Label4_2");
    EXPECT_EQ(f->Title(), QStringLiteral("春'夜"));
    EXPECT_EQ(f->TuneName(), QStringLiteral("捣练子"));

    // A book name that is no pattern book is not looked into.
    Click(OpenForm3(f), "Label4_3");
    EXPECT_EQ(f->Poem(), QStringLiteral("D"));
    EXPECT_EQ(f->TuneName(), QString());
    EXPECT_EQ(f->Pattern(), kCrLf);
}

TEST_F(Form3Test, SameTitleTakesTheBookOfTheFirstWork)
{
    AddWork(QStringLiteral("同题"), QStringLiteral("一"), QStringLiteral("如梦令"), QStringLiteral("白香词谱"));
    AddWork(QStringLiteral("同题"), QStringLiteral("二"), QStringLiteral("忆江南"), QStringLiteral("常用词谱"));
    Form1 *f = OpenForm1();
    Click(OpenForm3(f), "Label4_1");
    EXPECT_EQ(f->Poem(), QStringLiteral("二"));
    EXPECT_EQ(f->TuneName(), QString());   // 忆江南 is not in 白香词谱
    Click(OpenForm3(f), "Label4_0");
    EXPECT_EQ(f->Poem(), QStringLiteral("一"));
    EXPECT_EQ(f->TuneName(), QStringLiteral("如梦令"));
    EXPECT_EQ(f->Pattern(), QStringLiteral("◎●◎○○●\r\n◎●◎○○●\r\n\r\n"));
}

TEST_F(Form3Test, PagesStepBy79BothWays)
{
    QStringList rows{QStringLiteral("篇名\t正文\t格律\t词牌名\t词谱名\t作者\t时间")};
    for (int i = 0; i < 100; ++i)
        rows << QStringLiteral("作品%1\t句%1\t\t\t常用词谱\t\t").arg(i);
    const QString dir = TempPath(QStringLiteral("seed100"));
    WriteSeed(dir, QStringLiteral("作品"), rows);
    UseSeed(dir);
    Form1 *f = OpenForm1();
    Form3 *w = OpenForm3(f);
    EXPECT_EQ(w->WorkCount(), 100);
    EXPECT_EQ(Title(w, 79), QStringLiteral("作品79"));

    // Each button press, the page start after it, and a label with its title.
    struct Step {
        const char *button;
        int start;
        int label;
        const char *title;   // "" for an empty label
    } steps[] = {
        {"Image4", 79, 0, "作品79"}, {nullptr, 79, 20, "作品99"}, {nullptr, 79, 21, ""},
        {"Image4", 158, 0, ""},      {"Image4", 158, 79, ""},
        {"Image5", 79, 1, "作品80"}, {"Image5", 0, 0, "作品0"},    {"Image5", 0, 0, "作品0"},
    };
    for (const Step &step : steps) {
        if (step.button)
            Click(w, QLatin1String(step.button));
        EXPECT_EQ(w->PageStart(), step.start) << (step.button ? step.button : "-");
        EXPECT_EQ(Title(w, step.label), QString::fromUtf8(step.title)) << step.label;
        for (int i = 0; step.start == 158 && i < Form3::kLabels; ++i)
            ASSERT_EQ(Title(w, i), QString()) << i;
    }

    Click(w, "Image4");
    Click(w, "Label4_2");
    EXPECT_EQ(f->Title(), QStringLiteral("作品81"));
    EXPECT_EQ(f->Poem(), QStringLiteral("句81"));
}

// 下一页 moves only while the page start lies before the end of the list.
TEST_F(Form3Test, NextPageStopsAtAnEmptyListAndWhenTheStartReachesTheCount)
{
    Form1 *f = OpenForm1();
    Form3 *w = OpenForm3(f);
    Click(w, "Image4");
    EXPECT_EQ(w->PageStart(), 0);
    for (int i = 0; i < Form3::kPageStep; ++i)
        AddWork(QStringLiteral("作品%1").arg(i), QStringLiteral("句"));
    w = OpenForm3(f);
    Click(w, "Image4");
    Click(w, "Image4");
    EXPECT_EQ(w->PageStart(), Form3::kPageStep);
}

// Putting a work back is the exact inverse of saving it: opened and saved
// unchanged, a work stays as it was stored.
TEST_F(Form3Test, WorkOpenedAndSavedUnchangedStaysTheSame)
{
    for (const QString &poem : {QStringLiteral("春眠不觉晓|"), QStringLiteral("A||B"), QStringLiteral("A|  B")}) {
        AddWork(QStringLiteral("春晓"), poem, QStringLiteral("忆江南"));
        Form1 *f = OpenForm1();
        Click(OpenForm3(f), "Label4_0");
        Click(f, "Command7");
        ASSERT_EQ(Works().size(), 1);
        EXPECT_EQ(Works()[0].section(u'#', 1, 1), poem);
        UseSeed(FixtureSeed());   // a fresh database for the next case
    }
}

// Choosing a work over unsaved writing asks first; No keeps the writing and
// the browser; a window without unsaved writing is replaced silently.
TEST_F(Form3Test, ChoosingAWorkOverUnsavedWritingAsksFirst)
{
    const QString ask = QStringLiteral("作品尚未保存，确定放弃吗？");
    AddWork(QStringLiteral("春晓"), QStringLiteral("春眠不觉晓|"), QStringLiteral("忆江南"));
    AddWork(QStringLiteral("秋思"), QStringLiteral("A|B"));
    struct Case {
        const char *what;
        bool typed;
        bool answer;
        bool replaced;
    } cases[] = {{"nothing typed", false, true, true},
                 {"typed, No", true, false, false},
                 {"typed, Yes", true, true, true}};
    for (const Case &c : cases) {
        Form1 *f = OpenForm1();
        QApplication::setActiveWindow(f);
        if (c.typed) {
            QTest::mouseClick(Child(f, "Text4"), Qt::LeftButton);
            QTest::keyClicks(Child(f, "Text4"), QStringLiteral("mine"));
            QTest::keyClicks(Child(f, "Text2"), QStringLiteral("abc"));
        }
        const Draft typed = f->CurrentDraft();
        Form3 *w = OpenForm3(f);
        dialogs_.asked.clear();
        dialogs_.answers = {c.answer};
        QTest::mouseClick(Child(w, "Label4_0"), Qt::LeftButton);
        Settle();
        EXPECT_EQ(dialogs_.asked, c.typed ? QStringList{ask} : QStringList()) << c.what;
        EXPECT_EQ(Windows().Find("Form3") == nullptr, c.replaced) << c.what;
        if (c.replaced) {
            EXPECT_EQ(f->Title(), QStringLiteral("春晓")) << c.what;
            EXPECT_EQ(f->TuneName(), QStringLiteral("忆江南")) << c.what;
        } else {
            EXPECT_EQ(f->CurrentDraft(), typed) << c.what;
            EXPECT_EQ(f->TuneName(), QString()) << c.what;
        }
    }
}

// A work stored without a title is listed under a stand-in and opens like
// any other.
TEST_F(Form3Test, AnUntitledWorkIsListedAndOpens)
{
    AddWork(QString(), QStringLiteral("无名|"));
    AddWork(QStringLiteral(" "), QStringLiteral("空格"));
    Form1 *f = OpenForm1();
    Form3 *w = OpenForm3(f);
    EXPECT_EQ(Title(w, 0), QStringLiteral("（无标题）"));
    EXPECT_EQ(Title(w, 1), QStringLiteral("（无标题）"));
    EXPECT_EQ(Title(w, 2), QString());
    Click(w, "Label4_1");
    EXPECT_EQ(Windows().Find("Form3"), nullptr);
    EXPECT_EQ(f->Title(), QStringLiteral(" "));
    EXPECT_EQ(f->Poem(), QStringLiteral("空格"));
}

}  // namespace
}  // namespace versilo::testing
