// SPDX-License-Identifier: GPL-3.0-or-later
// The works management window: choosing, changing, deleting a work, copying
// it into the poetry library, taking it on into the composition window.
#include <QApplication>
#include <QLineEdit>
#include <functional>
#include <sqlite3.h>

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
    // Choosing leaves the composition window alone until 诗词写作.
    EXPECT_EQ(Form1::Find(), nullptr);

    dialogs_.answers = {false};   // No: nothing is deleted
    Click(w, "Image2");
    EXPECT_EQ(w->WorkCount(), 10);
    EXPECT_EQ(Field(w, "Text6"), QStringLiteral("作品3"));
    Click(w, "Image2");
    EXPECT_EQ(dialogs_.asked, QStringList(2, kAskDeleteWork));
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
    Click(w, "Image9");
    ASSERT_NE(Form1::Find(), nullptr);
    EXPECT_EQ(Form1::Find()->TuneName(), QStringLiteral("长相思"));
}

// Another program deletes the chosen work first: 删除作品 deletes nothing
// else, says so, and the list and fields no longer show the gone work.
TEST_F(Form9Test, DeletingAWorkAnotherProgramRemovedFirstReadsTheListAfresh)
{
    SeedWorks(3);
    Form9 *w = Open();
    Click(w, "Label4_1");
    ASSERT_TRUE(w->ChosenId());
    const qint64 gone = *w->ChosenId();

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(AppContext::Instance().Store().FilePath()).constData(), &db,
                              SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    const QByteArray sql = "PRAGMA key = 't3k9w2hpzq7mvd'; DELETE FROM 作品 WHERE id=" + QByteArray::number(gone);
    EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    dialogs_.told.clear();
    Click(w, "Image2");
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("没有删除任何作品：这篇作品已不在作品库中，可能已被别的程序删除。")});
    EXPECT_FALSE(w->ChosenId());
    EXPECT_EQ(Field(w, "Text6"), QString());
    EXPECT_EQ(w->WorkCount(), 2);
    EXPECT_EQ(Title(w, 0), QStringLiteral("作品0"));
    EXPECT_EQ(Title(w, 1), QStringLiteral("作品2"));
    EXPECT_EQ(Works().size(), 2);   // the other two stay
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
    Form1 *f = OpenForm1();   // an open composition window takes the change
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
    // The title as stored, so that 保存作品 there finds this work again.
    EXPECT_EQ(f->Title(), QStringLiteral("新题"));
    EXPECT_EQ(f->TuneName(), QStringLiteral("忆江南"));
    EXPECT_FALSE(f->HasUnsavedWriting());
    EXPECT_EQ(f->Poem(), QStringLiteral("A\r\nB\r\n"));

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
    EXPECT_EQ(f->Title(), QStringLiteral("作品0"));
    EXPECT_EQ(f->Poem(), QStringLiteral("第0首\r\n第二句\r\n"));
    EXPECT_EQ(f->TuneName(), QStringLiteral("忆江南"));
    EXPECT_FALSE(f->Pattern().isEmpty());
    EXPECT_EQ(f->Tones(), QString());

    // Without a chosen work the composition window opens with empty title and poem.
    Open();
    Click(Windows().Find(window::kWorksManager), "Image9");
    EXPECT_EQ(Form1::Find()->Title(), QString());
    EXPECT_EQ(Form1::Find()->Poem(), QString());
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

// The composition window's unsaved writing: a click on a title leaves it
// alone; 诗词写作 (with or without a chosen work) asks before replacing it,
// and No keeps it and works management.
TEST_F(Form9Test, WritingOnAsksBeforeUnsavedWritingGoes)
{
    const QString ask = QStringLiteral("作品尚未保存，确定放弃吗？");
    SeedWorks(2);
    for (const bool chooseFirst : {true, false}) {
        Form1 *f = OpenForm1();
        QApplication::setActiveWindow(f);
        QTest::keyClicks(Child(f, "Text2"), QStringLiteral("abc"));
        const Draft typed = f->CurrentDraft();
        Form9 *w = Open();
        dialogs_.asked.clear();
        if (chooseFirst)
            QTest::mouseClick(Child(w, "Label4_1"), Qt::LeftButton);
        EXPECT_EQ(f->CurrentDraft(), typed);
        EXPECT_TRUE(dialogs_.asked.isEmpty());

        dialogs_.answers = {false};
        QTest::mouseClick(Child(w, "Image9"), Qt::LeftButton);
        Settle();
        EXPECT_EQ(dialogs_.asked, QStringList{ask}) << chooseFirst;
        EXPECT_EQ(Windows().Find(window::kWorksManager), w) << chooseFirst;
        EXPECT_EQ(f->CurrentDraft(), typed) << chooseFirst;

        dialogs_.answers = {true};
        QTest::mouseClick(Child(w, "Image9"), Qt::LeftButton);
        Settle();
        EXPECT_EQ(Windows().Find(window::kWorksManager), nullptr) << chooseFirst;
        EXPECT_EQ(f->Title(), chooseFirst ? QStringLiteral("作品1") : QString()) << chooseFirst;
    }
}

// Typed changes to the four fields go only when the writer agrees, whatever
// way the window would be left or the fields refilled; No keeps them.
TEST_F(Form9Test, ChangedFieldsAreKeptUnlessTheWriterAgrees)
{
    const QString ask = QStringLiteral("作品尚未保存，确定放弃吗？");
    SeedWorks(3);
    struct Way {
        const char *what;
        std::function<void(Form9 *)> leave;
        bool closes;   // the window goes on Yes
    };
    const Way ways[] = {
        {"放弃返回", [](Form9 *w) { QTest::mouseClick(Child(w, "Image6"), Qt::LeftButton); }, true},
        {"Esc", [](Form9 *w) { QTest::keyClick(Child(w, "Text2"), Qt::Key_Escape); }, true},
        {"background", [](Form9 *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, 8)); }, true},
        {"desktop close", [](Form9 *w) { w->close(); }, true},
        {"another title", [](Form9 *w) { QTest::mouseClick(Child(w, "Label4_2"), Qt::LeftButton); }, false},
        {"诗词写作", [](Form9 *w) { QTest::mouseClick(Child(w, "Image9"), Qt::LeftButton); }, true},
    };
    for (const Way &way : ways) {
        Form9 *w = Open();
        QApplication::setActiveWindow(w);
        QTest::mouseClick(Child(w, "Label4_1"), Qt::LeftButton);
        auto *author = Child<QLineEdit>(w, "Text2");
        author->setFocus();
        Type(author, QStringLiteral("乙"));
        dialogs_.asked.clear();
        dialogs_.answers = {false};
        way.leave(w);
        Settle();
        EXPECT_EQ(dialogs_.asked, QStringList{ask}) << way.what;
        ASSERT_EQ(Windows().Find(window::kWorksManager), w) << way.what;
        EXPECT_EQ(Field(w, "Text2"), QStringLiteral("作者1乙")) << way.what;
        EXPECT_EQ(Field(w, "Text6"), QStringLiteral("作品1")) << way.what;

        dialogs_.answers = {true};
        way.leave(w);
        Settle();
        EXPECT_EQ(Windows().Find(window::kWorksManager) == nullptr, way.closes) << way.what;
        if (!way.closes) {
            EXPECT_EQ(Field(w, "Text6"), QStringLiteral("作品2")) << way.what;
            // Unchanged fields go without a question.
            dialogs_.asked.clear();
            QTest::keyClick(Child(w, "Text2"), Qt::Key_Escape);
            Settle();
            EXPECT_TRUE(dialogs_.asked.isEmpty()) << way.what;
            EXPECT_EQ(Windows().Find(window::kWorksManager), nullptr) << way.what;
        }
    }
    // Nothing was ever written.
    EXPECT_EQ(Rows<WorkRow>("select *from 作品")[1].author, QStringLiteral("作者1"));
}

// A choice made on a later page changes and deletes that very work.
TEST_F(Form9Test, ChoosingAfterPagingChangesAndDeletesThatWork)
{
    SeedWorks(100);
    Form9 *w = Open();
    QApplication::setActiveWindow(w);
    QTest::mouseClick(Child(w, "Image4"), Qt::LeftButton);   // page start 79
    QTest::mouseClick(Child(w, "Label4_5"), Qt::LeftButton);
    EXPECT_EQ(Field(w, "Text6"), QStringLiteral("作品84"));
    EXPECT_EQ(Field(w, "Text2"), QStringLiteral("作者84"));
    auto *title = Child<QLineEdit>(w, "Text6");
    title->setFocus();
    QTest::keyClick(title, Qt::Key_End);
    Type(title, QStringLiteral("改"));
    QTest::mouseClick(Child(w, "Image3"), Qt::LeftButton);
    EXPECT_EQ(dialogs_.told, QStringList{kWorkChanged});
    auto rows = Rows<WorkRow>("select *from 作品");
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows[84].title, QStringLiteral("作品84改"));
    EXPECT_EQ(rows[83].title, QStringLiteral("作品83"));
    EXPECT_EQ(rows[85].title, QStringLiteral("作品85"));
    EXPECT_EQ(Title(w, 5), QStringLiteral("作品84改"));

    QTest::mouseClick(Child(w, "Image2"), Qt::LeftButton);
    rows = Rows<WorkRow>("select *from 作品");
    ASSERT_EQ(rows.size(), 99u);
    EXPECT_EQ(rows[83].title, QStringLiteral("作品83"));
    EXPECT_EQ(rows[84].title, QStringLiteral("作品85"));
}

// A title longer than a line edit's usual limit is stored whole.
TEST_F(Form9Test, ALongTitleIsStoredWhole)
{
    SeedWorks(1);
    Form9 *w = Open();
    Click(w, "Label4_0");
    const QString longTitle(40000, u'题');
    Child<QLineEdit>(w, "Text6")->setText(longTitle);
    Click(w, "Image3");
    EXPECT_EQ(Rows<WorkRow>("select *from 作品")[0].title, longTitle);
}

// 加入诗词库 needs a chosen work with a title; a work without an author adds
// no nameless author.
TEST_F(Form9Test, AddingToTheLibraryNeedsAChosenWork)
{
    SeedWorks(1);
    const auto count = [](const char *sql) { return Rows<LibraryPoemRow>(sql).size(); };
    const size_t poems = count("select *from 诗词库");
    const size_t authors = Rows<AuthorRow>("select *from 作者").size();
    Form9 *w = Open();
    Child<QLineEdit>(w, "Text6")->setText(QStringLiteral("无主"));
    Click(w, "Image8");
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("没有选中作品：请先在左边的标题中点选要修改的作品。")});
    EXPECT_EQ(count("select *from 诗词库"), poems);

    Click(w, "Label4_0");
    Child<QLineEdit>(w, "Text2")->setText(QStringLiteral("  "));
    dialogs_.told.clear();
    Click(w, "Image8");
    EXPECT_EQ(dialogs_.told, QStringList{kAddedToLibrary});
    EXPECT_EQ(count("select *from 诗词库"), poems + 1);
    EXPECT_EQ(Rows<AuthorRow>("select *from 作者").size(), authors);
}

// A work stored without a title shows a stand-in, can be chosen, cannot be
// changed or copied without a title, and can be deleted.
TEST_F(Form9Test, AnUntitledWorkCanBeChosenAndDeleted)
{
    UseWorks({QStringLiteral("\t无名|\t\t\t常用词谱\t\t")});
    Form9 *w = Open();
    EXPECT_EQ(Title(w, 0), QStringLiteral("（无标题）"));
    Click(w, "Label4_0");
    ASSERT_TRUE(w->ChosenId());
    EXPECT_EQ(Field(w, "Text6"), QString());
    EXPECT_EQ(Poem(w), QStringLiteral("无名\r\n"));
    for (const char *button : {"Image3", "Image8"}) {
        dialogs_.told.clear();
        Click(w, QLatin1String(button));
        EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("请填写作品标题！")}) << button;
    }
    Click(w, "Image2");
    EXPECT_TRUE(Works().isEmpty());
    EXPECT_EQ(Title(w, 0), QString());
}

}  // namespace
}  // namespace versilo::testing
