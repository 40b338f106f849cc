// SPDX-License-Identifier: GPL-3.0-or-later
// The pattern browser: the book it lists, paging, and handing a tune to the
// composition window, end to end with the conformance check.
#include "form2.h"
#include "patterns.h"
#include "twips.h"
#include "window_fixture.h"

namespace versilo::testing {
namespace {

class Form2Test : public WindowTest {
protected:
    Form2Test() : WindowTest(RegisterPatternWindows, QPoint(90, 70)) {}
    Form2 *OpenForm2(Form1 *f) { return OpenFrom<Form2>(f, "Command4", window::kPatternBrowser); }
    static QString Name(Form2 *b, int i) { return LabelText(b, QStringLiteral("Label5_%1").arg(i)); }
    void UseBook(const QStringList &rows)
    {
        const QString dir = TempPath(QStringLiteral("seed%1").arg(++seeds_));
        WriteSeed(dir, QStringLiteral("常用词谱"), QStringList{QStringLiteral("篇名\t格律\t正文")} + rows);
        UseSeed(dir);
    }
    int seeds_ = 0;
};

TEST_F(Form2Test, ListsTheBookChosenInTheCompositionWindow)
{
    Form1 *f = OpenForm1();
    Form2 *b = OpenForm2(f);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(AppContext::Instance().patternBook, QStringLiteral("常用词谱"));
    EXPECT_EQ(LabelText(b, "Label1"), QStringLiteral("常用词谱"));
    EXPECT_EQ(b->PatternCount(), 4);
    EXPECT_EQ(Name(b, 0), QStringLiteral("忆江南"));
    EXPECT_EQ(Name(b, 1), QStringLiteral("长相思"));
    EXPECT_EQ(Name(b, 2), QStringLiteral("------"));   // a tune without a name
    EXPECT_EQ(Name(b, 3), QStringLiteral("捣练子"));
    EXPECT_EQ(Name(b, 4), QStringLiteral("------"));
    EXPECT_EQ(Name(b, 71), QStringLiteral("------"));
    EXPECT_EQ(Child(b, "Label5_0")->geometry(), TwRect(360, 360, 3015, 360));
    EXPECT_EQ(Child(b, "Label5_19")->geometry(), TwRect(3480, 780, 3015, 360));
    EXPECT_EQ(Child(b, "Label5_17")->geometry(), TwRect(360, 7560, 3015, 360));   // last row at 7560
    EXPECT_EQ(Child(b, "Label5_71")->geometry(), TwRect(9720, 7560, 3015, 360));
    // Stacked over the composition window, which sits over the launcher.
    EXPECT_EQ(f->pos(), QPoint(90, 70));
    EXPECT_EQ(b->pos(), f->pos());
    Click(b, "Image6");
    EXPECT_EQ(Windows().Find("Form2"), nullptr);

    // The book button decides before the browser loads.
    Click(f, "Command3");
    b = OpenForm2(f);
    EXPECT_EQ(AppContext::Instance().patternBook, QStringLiteral("白香词谱"));
    EXPECT_EQ(LabelText(b, "Label1"), QStringLiteral("白香词谱"));
    EXPECT_EQ(Name(b, 0), QStringLiteral("如梦令"));
    EXPECT_EQ(Name(b, 1), QStringLiteral("浣溪沙"));
}

TEST_F(Form2Test, ChosenTuneFeedsTheConformanceCheck)
{
    Form1 *f = OpenForm1();
    f->SetTitle(QStringLiteral("春晓"));
    f->SetPoem(QStringLiteral("春眠不觉晓，") + kCrLf + QStringLiteral("处处闻啼鸟。") + kCrLf);
    f->SetTones(QStringLiteral("旧") + kCrLf);
    f->SetResults(QStringLiteral("旧") + kCrLf);
    Click(OpenForm2(f), "Label5_0");
    EXPECT_EQ(Windows().Find("Form2"), nullptr);
    ExpectTune(f, QStringLiteral("忆江南"), QStringLiteral("○○●●●\r\n●●○○○\r\n\r\n"),
               QStringLiteral("单调二十七字\r\n例：白居易词\r\n"));
    EXPECT_EQ(f->Tones(), QString());
    EXPECT_EQ(f->Results(), QString());
    EXPECT_EQ(f->Title(), QStringLiteral("春晓"));

    Click(f, "Command1");
    EXPECT_EQ(f->Tones(), QStringLiteral("○○●※●\r\n●●○○●\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(f->Results(), QStringLiteral("★★★※★\r\n★★★★¤\r\n\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(f->ToneLegend(), QStringLiteral("○：平韵  ●：仄韵    ※：平仄两读"));
    EXPECT_EQ(f->ResultHeading(), QStringLiteral("★：正确  ¤：错误  ※：平仄两读具体分析"));

    // Under 平水韵 觉 is oblique; the legend still names the tone marks.
    Click(f, "Command2");
    Click(f, "Command1");
    EXPECT_EQ(f->Tones(), QStringLiteral("○○●●●\r\n●●○○●\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(f->Results(), QStringLiteral("★★★★★\r\n★★★★¤\r\n\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(f->ToneLegend(), QStringLiteral("○：平韵  ●：仄韵    ※：平仄两读"));

    // Without a title only the tones are marked.
    f->SetTitle(QString());
    Click(f, "Command1");
    EXPECT_EQ(f->Results(), QString());
    EXPECT_EQ(f->ResultHeading(), QStringLiteral("判断韵调"));
}

TEST_F(Form2Test, PlaceholderHandsOverAnEmptyTuneAndEmptyLabelOnlyCloses)
{
    Form1 *f = OpenForm1();
    f->ShowTune(QStringLiteral("旧调"), QStringLiteral("○-"), QStringLiteral("旧-"));
    Click(OpenForm2(f), "Label5_10");   // "------" beyond the last tune
    EXPECT_EQ(Windows().Find("Form2"), nullptr);
    EXPECT_EQ(f->TuneName(), QString());
    EXPECT_EQ(f->ExplanationHeading(), QString());
    EXPECT_EQ(f->Pattern(), kCrLf);
    EXPECT_EQ(f->Explanation(), QString());

    f->ShowTune(QStringLiteral("旧调"), QStringLiteral("○-"), QStringLiteral("旧-"));
    Form2 *b = OpenForm2(f);
    Click(b, "Image4");
    EXPECT_EQ(Name(b, 0), QString());
    Click(b, "Label5_0");
    EXPECT_EQ(Windows().Find("Form2"), nullptr);
    EXPECT_EQ(f->TuneName(), QStringLiteral("旧调"));
    EXPECT_EQ(f->Pattern(), QStringLiteral("○\r\n\r\n"));
    EXPECT_EQ(f->Explanation(), QStringLiteral("旧\r\n"));
}

TEST_F(Form2Test, PatternAndExplanationLayout)
{
    UseBook({QStringLiteral("甲\tA-B-\tX-Y-"), QStringLiteral("乙\tA-B\tX-Y")});
    Form1 *f = OpenForm1();
    Click(OpenForm2(f), "Label5_0");
    EXPECT_EQ(f->Pattern(), QStringLiteral("A\r\nB\r\n\r\n"));
    EXPECT_EQ(f->Explanation(), QStringLiteral("X\r\nY\r\n"));
    // A last line stored without its "-" (typed without a final Return) is
    // shown like the others.
    Click(OpenForm2(f), "Label5_1");
    EXPECT_EQ(f->Pattern(), QStringLiteral("A\r\nB\r\n\r\n"));
    EXPECT_EQ(f->Explanation(), QStringLiteral("X\r\nY\r\n"));
}

TEST_F(Form2Test, PagesStepBy71AndReopenAtTheFirstPage)
{
    QStringList rows;
    for (int i = 0; i < 100; ++i)
        rows << QStringLiteral("调%1\t○-\t说明%1-").arg(i);
    UseBook(rows);
    Form1 *f = OpenForm1();
    Form2 *b = OpenForm2(f);
    EXPECT_EQ(b->PatternCount(), 100);
    EXPECT_EQ(Name(b, 71), QStringLiteral("调71"));

    auto *next = Child<PictureButton>(b, "Image4");
    QTest::mousePress(next, Qt::LeftButton);
    EXPECT_TRUE(next->IsPressedLook());
    QTest::mouseRelease(next, Qt::LeftButton);
    EXPECT_FALSE(next->IsPressedLook());
    EXPECT_EQ(b->PageStart(), 71);
    EXPECT_EQ(Name(b, 0), QStringLiteral("调71"));
    EXPECT_EQ(Name(b, 28), QStringLiteral("调99"));
    EXPECT_EQ(Name(b, 29), QString());   // no placeholders after the first page
    EXPECT_EQ(Name(b, 71), QString());

    Click(b, "Image4");
    EXPECT_EQ(b->PageStart(), 142);
    for (int i = 0; i < Form2::kLabels; ++i)
        ASSERT_EQ(Name(b, i), QString()) << i;
    Click(b, "Image4");
    EXPECT_EQ(b->PageStart(), 142);

    Click(b, "Image5");
    EXPECT_EQ(b->PageStart(), 71);
    Click(b, "Image5");
    EXPECT_EQ(b->PageStart(), 0);
    EXPECT_EQ(Name(b, 0), QStringLiteral("调0"));
    Click(b, "Image5");
    EXPECT_EQ(b->PageStart(), 0);
    EXPECT_EQ(Name(b, 71), QStringLiteral("调71"));

    // A choice from page 2, then a fresh browser starts at page 1.
    Click(b, "Image4");
    Click(b, "Label5_1");
    EXPECT_EQ(f->TuneName(), QStringLiteral("调72"));
    EXPECT_EQ(f->Explanation(), QStringLiteral("说明72\r\n"));
    b = OpenForm2(f);
    EXPECT_EQ(b->PageStart(), 0);
    Click(b, "Label5_0");
    EXPECT_EQ(f->TuneName(), QStringLiteral("调0"));
}

// 下一页 moves only while the page start lies before the end of the book.
TEST_F(Form2Test, NextPageStopsAtAnEmptyBookAndWhenTheStartReachesTheCount)
{
    for (const int tunes : {0, 71}) {
        QStringList rows;
        for (int i = 0; i < tunes; ++i)
            rows << QStringLiteral("调%1\t○-\t").arg(i);
        UseBook(rows);
        Form2 *b = OpenForm2(OpenForm1());
        Click(b, "Image4");
        Click(b, "Image4");
        EXPECT_EQ(b->PageStart(), tunes) << tunes;
    }
}

}  // namespace
}  // namespace versilo::testing
