// SPDX-License-Identifier: GPL-3.0-or-later
// The knowledge pages: reading, paging, and in edit mode saving, deleting
// and putting in blank pages, with the table checked after each change.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <deque>
#include <sqlite3.h>

#include "form4.h"
#include "reference.h"
#include "twips.h"
#include "window_fixture.h"
#include "windownames.h"

namespace versilo::testing {
namespace {

const QString kBlank = QStringLiteral("输入标题....");

class Form4Test : public WindowTest {
protected:
    Form4Test() : WindowTest(RegisterReferenceWindows, QPoint(60, 40)) {}

    // A database whose 常识 holds one page per letter: title X, text "X页".
    void UsePages(const QString &titles)
    {
        QStringList rows{QStringLiteral("标题\t内容")};
        for (QChar t : titles)
            rows << QString(t) + u'\t' + t + QStringLiteral("页");
        const QString dir = TempPath(QStringLiteral("pages%1").arg(++seeds_));
        WriteSeed(dir, QStringLiteral("常识"), rows);
        UseSeed(dir);
    }
    Form4 *Open() { return qobject_cast<Form4 *>(Windows().OpenFresh(window::kKnowledge)); }
    // The titles of the table in id order ("_" for a blank page), and the ids.
    static QString Titles(QList<qint64> *ids = nullptr)
    {
        std::vector<PageRow> rows;
        EXPECT_TRUE(ReadPages(Rs(), rows));
        QString s;
        for (const PageRow &r : rows) {
            s += r.title == kBlank ? QStringLiteral("_") : r.title;
            EXPECT_EQ(r.content, r.title == kBlank ? QStringLiteral("输入内容....") : r.title + QStringLiteral("页"));
            if (ids)
                ids->append(r.id);
        }
        return s;
    }
    static QString Shown(Form4 *w)
    {
        return Child<QLineEdit>(w, "Text2")->text() + u'|' + LabelText(w, "Label5") + u'|' + LabelText(w, "Label2");
    }
    static void GoTo(Form4 *w, int page)
    {
        while (w->CurrentPage() < page)
            Click(w, "Command4");
    }
    int seeds_ = 0;
};

TEST_F(Form4Test, ReadsPageByPageAndChangesOnlyInEditMode)
{
    UsePages(QStringLiteral("ABCD"));
    Form4 *w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->pos(), QPoint(60, 40));
    EXPECT_EQ(Shown(w), QStringLiteral("A|第 1 页|1"));
    EXPECT_EQ(Child<QPlainTextEdit>(w, "Text1")->toPlainText(), QStringLiteral("A页"));
    EXPECT_EQ(Child(w, "Command7")->geometry(), TwRect(6480, 8040, 1455, 375));

    const char *changing[] = {"Command1", "Command7", "Command3", "Command2"};
    const auto enabled = [&] {
        int n = 0;
        for (const char *b : changing)
            n += Child(w, QLatin1String(b))->isEnabled() ? 1 : 0;
        return n;
    };
    EXPECT_EQ(enabled(), 0);
    Click(w, "Option1");
    EXPECT_EQ(enabled(), 4);
    Click(w, "Option2");
    EXPECT_EQ(enabled(), 0);
    Click(w, "Command2");   // disabled: nothing is asked
    EXPECT_TRUE(dialogs_.asked.isEmpty());

    for (int i = 0; i < 4; ++i)
        Click(w, "Command4");
    EXPECT_EQ(Shown(w), QStringLiteral("D|第 4 页|4"));
    for (int i = 0; i < 5; ++i)
        Click(w, "Command5");
    EXPECT_EQ(Shown(w), QStringLiteral("A|第 1 页|1"));

    // Typing works in both modes; saving writes title and text into the row of Label2.
    Click(w, "Command4");
    Child<QLineEdit>(w, "Text2")->setText(QStringLiteral("乙"));
    SetBoxText(Child<QPlainTextEdit>(w, "Text1"), QStringLiteral("第一行\r\n第二行"));
    Click(w, "Option1");
    dialogs_.answers = {false, true};
    Click(w, "Command2");
    EXPECT_EQ(Titles(), QStringLiteral("ABCD"));
    Click(w, "Command2");
    EXPECT_EQ(dialogs_.asked, QStringList(2, QStringLiteral("真的要修改该项数据吗？！")));
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("ok!修改成功！")});
    PageRow row;
    ASSERT_TRUE(ReadFirst(Rs(), QStringLiteral("select *from 常识 where id=?"), {2}, row));
    EXPECT_EQ(row.title, QStringLiteral("乙"));
    EXPECT_EQ(row.content, QStringLiteral("第一行\r\n第二行"));
    EXPECT_EQ(Shown(w), QStringLiteral("乙|第 2 页|2"));

    Click(w, "Command6");
    EXPECT_EQ(Windows().Find(window::kKnowledge), nullptr);
}

TEST_F(Form4Test, BlankPageGoesBeforeOrAfterWhileTheIdsKeepTheirOrder)
{
    struct Case {
        int page;
        const char *button;
        const char16_t *titles;
        int shown;
    };
    const Case cases[] = {
        {2, "Command1", u"A_BCD", 2},
        {2, "Command7", u"AB_CD", 3},
        {1, "Command1", u"_ABCD", 1},
        {4, "Command7", u"ABCD_", 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.button) + " on page " + std::to_string(c.page));
        UsePages(QStringLiteral("ABCD"));
        dialogs_.asked.clear();
        dialogs_.told.clear();
        Form4 *w = Open();
        GoTo(w, c.page);
        Click(w, "Option1");
        Click(w, QLatin1String(c.button));
        QList<qint64> ids;
        EXPECT_EQ(Titles(&ids), QString::fromUtf16(c.titles));
        EXPECT_EQ(ids, (QList<qint64>{1, 2, 3, 4, 5}));
        EXPECT_EQ(Shown(w), kBlank + QStringLiteral("|第 %1 页|%1").arg(c.shown));
        EXPECT_EQ(dialogs_.asked, QStringList{QStringLiteral("真的要插入一个空白页吗？！")});
        EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("ok!插入成功！")});
    }
    dialogs_.answers = {false};
    Click(Windows().Find(window::kKnowledge), "Command1");
    EXPECT_EQ(Titles(), QStringLiteral("ABCD_"));
}

TEST_F(Form4Test, DeleteShowsTheFollowingPageOrTheNewLastOne)
{
    struct Case {
        int page;
        const char16_t *titles;
        const char16_t *shown;
    };
    const Case cases[] = {
        {4, u"ABC", u"C|第 3 页|3"},
        {2, u"ACD", u"C|第 2 页|3"},
        {1, u"BCD", u"B|第 1 页|2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.page);
        UsePages(QStringLiteral("ABCD"));
        dialogs_.told.clear();
        Form4 *w = Open();
        GoTo(w, c.page);
        Click(w, "Option1");
        Click(w, "Command3");
        EXPECT_EQ(Titles(), QString::fromUtf16(c.titles));
        EXPECT_EQ(Shown(w), QString::fromUtf16(c.shown));
        EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("ok!删除成功！")});
    }
    EXPECT_EQ(dialogs_.asked.last(), QStringLiteral("真的要删除该项数据吗？！"));
}

TEST_F(Form4Test, EmptyTable)
{
    UsePages(QStringLiteral("A"));
    Form4 *w = Open();
    Click(w, "Option1");
    Click(w, "Command3");   // the only page
    EXPECT_EQ(Titles(), QString());
    EXPECT_EQ(Shown(w), QStringLiteral("|第 0 页|"));
    dialogs_.asked.clear();
    Click(w, "Command2");
    Click(w, "Command3");
    EXPECT_TRUE(dialogs_.asked.isEmpty());

    // Opened on an empty table: page 1, empty; 下一页 goes to page 0.
    w = Open();
    EXPECT_EQ(Shown(w), QStringLiteral("|第 1 页|"));
    Click(w, "Command4");
    EXPECT_EQ(Shown(w), QStringLiteral("|第 0 页|"));
    Click(w, "Option1");
    Click(w, "Command1");   // nothing shown: the blank page becomes page 1
    EXPECT_EQ(Titles(), QStringLiteral("_"));
    EXPECT_EQ(Shown(w), kBlank + QStringLiteral("|第 1 页|2"));

    // Insert after on an empty table moves on to an empty page 2.
    UsePages(QString());
    w = Open();
    Click(w, "Option1");
    Click(w, "Command7");
    EXPECT_EQ(Titles(), QStringLiteral("_"));
    EXPECT_EQ(Shown(w), QStringLiteral("|第 2 页|"));
    Click(w, "Command5");
    EXPECT_EQ(Shown(w), kBlank + QStringLiteral("|第 1 页|1"));
}

TEST_F(Form4Test, InsertThatFailsHalfWayLeavesThePagesAsTheyWere)
{
    UsePages(QStringLiteral("ABCD"));
    char *msg = nullptr;
    ASSERT_EQ(sqlite3_exec(AppContext::Instance().Store().Handle(),
                           "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON 常识 WHEN NEW.标题 = 'C' "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, &msg), SQLITE_OK) << msg;
    Form4 *w = Open();
    GoTo(w, 2);
    Click(w, "Option1");
    Click(w, "Command1");   // B moves to row 3 and C to row 4, which is refused
    QList<qint64> ids;
    EXPECT_EQ(Titles(&ids), QStringLiteral("ABCD"));
    EXPECT_EQ(ids, (QList<qint64>{1, 2, 3, 4}));
    EXPECT_EQ(Shown(w), QStringLiteral("B|第 2 页|2"));
    ASSERT_EQ(dialogs_.told.size(), 1);
    EXPECT_TRUE(dialogs_.told[0].startsWith(QStringLiteral("插入失败，各页保持原样：")))
        << dialogs_.told[0].toStdString();

    ASSERT_EQ(sqlite3_exec(AppContext::Instance().Store().Handle(), "DROP TRIGGER refuse", nullptr,
                           nullptr, nullptr), SQLITE_OK);
    Click(w, "Command1");
    ids.clear();
    EXPECT_EQ(Titles(&ids), QStringLiteral("A_BCD"));
    EXPECT_EQ(ids, (QList<qint64>{1, 2, 3, 4, 5}));
}

// Typed text on a page goes only after a question answered 是: save it, let
// it go, or stay. Typed with keys, paged with the mouse.
TEST_F(Form4Test, PagingAwayFromTypedTextAsksToSaveDiscardOrStay)
{
    const QString save = QStringLiteral("本页已修改，要先保存吗？");
    const QString discard = QStringLiteral("本页的修改尚未保存，确定放弃吗？");
    struct Case {
        const char *name;
        const char *button;        // pressed after typing on page 2 of 3
        std::deque<bool> answers;
        QStringList asked;
        const char16_t *shown;     // title | page | id afterwards
        const char16_t *titles;    // the table afterwards
    };
    const Case cases[] = {
        {"save", "Command4", {true}, {save}, u"C|第 3 页|3", u"B乙"},
        {"discard", "Command4", {false, true}, {save, discard}, u"C|第 3 页|3", u"B"},
        {"stay", "Command5", {false, false}, {save, discard}, u"B乙|第 2 页|2", u"B"},
        {"close, stay", "Command6", {false, false}, {save, discard}, u"B乙|第 2 页|2", u"B"},
        {"insert, stay", "Command1", {false, false}, {save, discard}, u"B乙|第 2 页|2", u"B"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        UsePages(QStringLiteral("ABC"));
        dialogs_.asked.clear();
        dialogs_.told.clear();
        dialogs_.answers = c.answers;
        Form4 *w = Open();
        Click(w, "Option1");
        Click(w, "Command4");
        auto *title = Child<QLineEdit>(w, "Text2");
        title->end(false);
        Type(title, QStringLiteral("乙"));
        Click(w, QLatin1String(c.button));
        EXPECT_EQ(dialogs_.asked, c.asked);
        EXPECT_EQ(Shown(w), QString::fromUtf16(c.shown));
        PageRow row;
        ASSERT_TRUE(ReadFirst(Rs(), QStringLiteral("select *from 常识 where id=?"), {2}, row));
        EXPECT_EQ(row.title, QString::fromUtf16(c.titles));
        EXPECT_EQ(Windows().Find(window::kKnowledge), w);
        EXPECT_EQ(dialogs_.told.join(u'|'), c.answers.front() ? QStringLiteral("ok!修改成功！") : QString());
    }

    // Nothing typed: paging asks nothing. Typed on the last page, 下一页 has
    // nowhere to go and keeps the text.
    UsePages(QStringLiteral("AB"));
    dialogs_.asked.clear();
    Form4 *w = Open();
    Click(w, "Command4");
    Click(w, "Command5");
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    Click(w, "Command4");
    Type(Child<QPlainTextEdit>(w, "Text1"), QStringLiteral("续"));
    Click(w, "Command4");
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_EQ(BoxText(Child<QPlainTextEdit>(w, "Text1")), QStringLiteral("续B页"));
    EXPECT_TRUE(w->PageChanged());
    dialogs_.answers = {false, true};
    Click(w, "Command6");   // 返回, letting the text go
    EXPECT_EQ(Windows().Find(window::kKnowledge), nullptr);
}

TEST_F(Form4Test, SaveOnAnEmptyTableSaysSoOrMakesANewPage)
{
    UsePages(QString());
    Form4 *w = Open();
    Click(w, "Option1");
    Click(w, "Command2");
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("当前没有可保存的页！")});

    Type(Child<QLineEdit>(w, "Text2"), QStringLiteral("新"));
    dialogs_.answers = {true};
    Click(w, "Command2");
    EXPECT_EQ(dialogs_.asked, QStringList{QStringLiteral("当前没有页，要存为新的一页吗？")});
    EXPECT_EQ(dialogs_.told.last(), QStringLiteral("ok!插入成功！"));
    std::vector<PageRow> rows;
    ASSERT_TRUE(ReadPages(Rs(), rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].title, QStringLiteral("新"));
    EXPECT_EQ(Shown(w), QStringLiteral("新|第 1 页|%1").arg(rows[0].id));
}

TEST_F(Form4Test, DisabledButtonsLookDisabled)
{
    // The program's palette gives buttons one ink in every state.
    struct ProgramPalette {
        QPalette before = QApplication::palette();
        ProgramPalette()
        {
            QPalette program = before;
            program.setColor(QPalette::ButtonText, QColor(0x22, 0x1E, 0x1A));
            QApplication::setPalette(program);
        }
        ~ProgramPalette() { QApplication::setPalette(before); }
    } palette;
    Form4 *w = Open();
    auto *save = Child<QPushButton>(w, "Command2");
    auto *next = Child<QPushButton>(w, "Command4");
    ASSERT_FALSE(save->isEnabled());
    const QPalette &pal = save->palette();
    EXPECT_NE(pal.color(QPalette::Disabled, QPalette::ButtonText), next->palette().color(QPalette::Active, QPalette::ButtonText));
    EXPECT_NE(pal.color(QPalette::Disabled, QPalette::ButtonText), pal.color(QPalette::Active, QPalette::ButtonText));
    // Drawn: the caption of a disabled button is lighter than an enabled one's.
    const auto darkest = [](QWidget *b) {
        const QImage img = b->grab().toImage();
        int min = 255;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                min = std::min(min, qGray(img.pixel(x, y)));
        return min;
    };
    EXPECT_GT(darkest(save), darkest(next) + 40);
}

}  // namespace
}  // namespace versilo::testing
