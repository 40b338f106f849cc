// The works management window: choosing, changing, deleting a work, copying
// it into the poetry library, taking it on into the composition window.
#include <QLineEdit>

#include "form9.h"
#include "gateway.h"
#include "initials.h"
#include "labelgrid.h"
#include "twips.h"
#include "window_fixture.h"
#include "works.h"

namespace versilo::testing {
namespace {

class Form9Test : public WindowTest {
protected:
    Form9Test() : WindowTest(RegisterWorksWindows, QPoint(60, 40)) {}
    Form9 *Open() { return qobject_cast<Form9 *>(Windows().OpenFresh(window::kWorksManager)); }
    // Works 0 to n-1: "作品i" by "作者i", written in 20ii to 忆江南 (work 4 to 长相思).
    void SeedWorks(int n)
    {
        QStringList rows;
        for (int i = 0; i < n; ++i)
            rows << QStringLiteral("作品%1\t第%1首|第二句|\t\t%2\t常用词谱\t作者%1\t20%3年")
                        .arg(i)
                        .arg(i == 4 ? QStringLiteral("长相思") : QStringLiteral("忆江南"))
                        .arg(i, 2, 10, QLatin1Char('0'));
        UseWorks(rows);
    }
    static QString Title(Form9 *w, int i) { return LabelText(w, QStringLiteral("Label4_%1").arg(i)); }
    static QString Field(Form9 *w, const char *name) { return Child<QLineEdit>(w, name)->text(); }
    static QString Poem(Form9 *w) { return BoxText(Child<QPlainTextEdit>(w, "Text1")); }
    template <class Row> static std::vector<Row> Rows(const char *sql)
    {
        std::vector<Row> rows;
        EXPECT_TRUE(ReadAll(Rs(), QString::fromUtf8(sql), {}, rows));
        return rows;
    }
};

TEST_F(Form9Test, DeletingTheWorkAtPosition3Of10ShiftsTheTitles)
{
    SeedWorks(10);
    Form9 *w = Open();
    ASSERT_EQ(w->WorkCount(), 10);
    Click(w, "Label4_3");
    EXPECT_EQ(Field(w, "Text6"), QStringLiteral("作品3"));
    EXPECT_EQ(Field(w, "Text2"), QStringLiteral("作者3"));
    EXPECT_EQ(Field(w, "Text3"), QStringLiteral("2003年"));
    EXPECT_EQ(Poem(w), QStringLiteral("第3首\r\n第二句\r\n"));
    Form1 *f = Form1::Find();
    ASSERT_NE(f, nullptr);   // prepared, hidden
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->Text("Text4"), QStringLiteral("作品3"));

    Click(w, "Image2");
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_EQ(w->WorkCount(), 9);
    EXPECT_EQ(Title(w, 3), QStringLiteral("作品4"));
    EXPECT_EQ(Title(w, 9), QString());
    EXPECT_EQ(Field(w, "Text6"), QString());
    EXPECT_FALSE(w->ChosenId());
    Click(w, "Image2");   // nothing chosen: nothing happens
    EXPECT_EQ(Works().size(), 9);

    Click(w, "Label4_3");
    EXPECT_EQ(Field(w, "Text2"), QStringLiteral("作者4"));
    EXPECT_EQ(Field(w, "Text3"), QStringLiteral("2004年"));
    EXPECT_EQ(f->Caption("Label1"), QStringLiteral("长相思"));
}

TEST_F(Form9Test, AddingToTheLibraryTwiceAddsTwoPoemsAndOneAuthor)
{
    WorkRow work;
    work.title = QStringLiteral("静夜思");
    work.poem = QStringLiteral("床前明月光|疑是地上霜|");
    work.author = QStringLiteral("李白");
    work.time = QStringLiteral("2008年春");
    ASSERT_TRUE(InsertRow(Rs(), kWorksTable, work));
    Form9 *w = Open();
    Click(w, "Label4_0");
    Click(w, "Image8");
    Click(w, "Image8");
    EXPECT_EQ(dialogs_.told, QStringList({kAddedToLibrary, kAddedToLibrary}));

    const auto poems = Rows<LibraryPoemRow>("select *from 诗词库 where 作者='李白'");
    ASSERT_EQ(poems.size(), 2u);
    EXPECT_EQ(poems[1].title, QStringLiteral("静夜思"));
    EXPECT_EQ(poems[1].text, QStringLiteral("床前明月光\r\n疑是地上霜\r\n"));
    EXPECT_EQ(poems[1].initials, QStringLiteral("JYS"));
    const auto authors = Rows<AuthorRow>("select *from 作者 where 姓名='李白'");
    ASSERT_EQ(authors.size(), 1u);
    EXPECT_EQ(authors[0].dynasty, QStringLiteral("---"));
    EXPECT_EQ(authors[0].year, 2008);
    EXPECT_EQ(authors[0].initials, PinyinInitials(QStringLiteral("李白")));
}

TEST_F(Form9Test, ChangingAWorkStoresItAndTheListFollows)
{
    SeedWorks(1);
    Form9 *w = Open();
    Click(w, "Label4_0");
    Child<QLineEdit>(w, "Text6")->setText(QStringLiteral(" 新题 "));
    Child<QLineEdit>(w, "Text2")->setText(QStringLiteral(" 杜甫"));
    Child<QLineEdit>(w, "Text3")->setText(QStringLiteral("759年 "));
    SetBoxText(Child<QPlainTextEdit>(w, "Text1"), QStringLiteral("A\r\nB\r\n"));
    Click(w, "Image3");
    EXPECT_EQ(dialogs_.told, QStringList{kWorkChanged});

    const auto rows = Rows<WorkRow>("select *from 作品");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].title, QStringLiteral("新题"));
    EXPECT_EQ(rows[0].poem, QStringLiteral("A|B|"));
    EXPECT_EQ(rows[0].author, QStringLiteral("杜甫"));
    EXPECT_EQ(rows[0].time, QStringLiteral("759年"));
    EXPECT_EQ(rows[0].tuneName, QStringLiteral("忆江南"));
    Form1 *f = Form1::Find();
    EXPECT_EQ(f->Text("Text4"), QStringLiteral(" 新题 "));
    EXPECT_EQ(f->Text("Text2"), QStringLiteral("A\r\nB\r\n"));

    // Chosen again, the work reads as stored.
    EXPECT_EQ(Title(w, 0), QStringLiteral("新题"));
    Click(w, "Label4_0");
    EXPECT_EQ(Poem(w), QStringLiteral("A\r\nB\r\n"));
    EXPECT_EQ(Field(w, "Text2"), QStringLiteral("杜甫"));
}

TEST_F(Form9Test, EmptyTableAndNothingChosen)
{
    Form9 *w = Open();
    EXPECT_EQ(w->WorkCount(), 0);
    EXPECT_EQ(Title(w, 0), QString());
    Click(w, "Label4_0");
    EXPECT_EQ(Form1::Find(), nullptr);
    Click(w, "Image4");
    EXPECT_EQ(w->Titles().Paging().Start(), 0);
    Child<QLineEdit>(w, "Text6")->setText(QStringLiteral("无"));
    Click(w, "Image3");   // 修改作品 with no work chosen
    EXPECT_EQ(dialogs_.told, QStringList{kNoWorkChosen});
    EXPECT_TRUE(Works().isEmpty());
    Click(w, "Image2");
    EXPECT_TRUE(Works().isEmpty());
}

TEST_F(Form9Test, PagesStepBy79BothWays)
{
    SeedWorks(100);
    Form9 *w = Open();
    EXPECT_EQ(Title(w, 79), QStringLiteral("作品79"));
    Click(w, "Image4");
    EXPECT_EQ(Title(w, 0), QStringLiteral("作品79"));
    EXPECT_EQ(Title(w, 20), QStringLiteral("作品99"));
    EXPECT_EQ(Title(w, 21), QString());
    Click(w, "Image5");
    EXPECT_EQ(Title(w, 0), QStringLiteral("作品0"));
    Click(w, "Image5");
    EXPECT_EQ(Title(w, 0), QStringLiteral("作品0"));
}

TEST_F(Form9Test, WritingOnShowsTheCompositionWindowWithTheWorkAndItsTune)
{
    SeedWorks(1);
    Form9 *w = Open();
    Click(w, "Label4_0");
    Click(w, "Image9");
    Settle();
    EXPECT_EQ(Windows().Find(window::kWorksManager), nullptr);
    Form1 *f = Form1::Find();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->pos(), Windows().Launcher()->pos());
    EXPECT_EQ(f->Text("Text4"), QStringLiteral("作品0"));
    EXPECT_EQ(f->Text("Text2"), QStringLiteral("第0首\r\n第二句\r\n"));
    EXPECT_EQ(f->Caption("Label1"), QStringLiteral("忆江南"));
    EXPECT_FALSE(f->Text("Text5").isEmpty());
    EXPECT_EQ(f->Text("Text6"), QString());

    // Without a chosen work the composition window opens with empty title and poem.
    Open();
    Click(Windows().Find(window::kWorksManager), "Image9");
    EXPECT_EQ(Form1::Find()->Text("Text4"), QString());
    EXPECT_EQ(Form1::Find()->Text("Text2"), QString());
}

TEST_F(Form9Test, AClickOnTheBackgroundClosesButADragDoesNot)
{
    Form9 *w = Open();
    const QPoint start = w->pos();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseMove(w, QPoint(48, 28));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(48, 28));
    ASSERT_EQ(Windows().Find(window::kWorksManager), w);
    EXPECT_EQ(w->pos(), start + QPoint(40, 20));
    EXPECT_EQ(Windows().Launcher()->pos(), w->pos());

    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, 8));
    Settle();
    EXPECT_EQ(Windows().Find(window::kWorksManager), nullptr);
}

}  // namespace
}  // namespace versilo::testing
