// SPDX-License-Identifier: GPL-3.0-or-later
// Rhyme dictionary maintenance: paging the grid, the searches (by character,
// by keypad letters, the other system), and change, add and delete with the
// checks of the composition window seeing every change.
#include <QApplication>
#include <QLineEdit>
#include <functional>
#include <QPushButton>

#include "dictionary.h"
#include "form11.h"
#include "form7.h"
#include "labelgrid.h"
#include "twips.h"
#include "rhymedict.h"
#include "window_fixture.h"
#include "windownames.h"

namespace versilo::testing {
namespace {

class Form11Test : public WindowTest {
protected:
    Form11Test() : WindowTest(&RegisterDictionaryWindows, QPoint(40, 30)) {}

    Form11 *Open() { return qobject_cast<Form11 *>(Windows().OpenFresh(window::kDictionary)); }
    // A 中华新韵 of `count` entries, characters from 一 on, every one with a pinyin.
    void UseDictionary(int count)
    {
        QStringList rows{QStringLiteral("汉字\t平仄\t韵调\t拼音")};
        for (int i = 0; i < count; ++i)
            rows << CharacterText(0x4E00 + i) + QStringLiteral("\t0\t1\tyi");
        const QString dir = TempPath(QStringLiteral("seed%1").arg(count));
        WriteSeed(dir, QStringLiteral("中华新韵"), rows);
        UseSeed(dir);
    }
    static QString Cell(Form11 *w, int i) { return LabelText(w, QStringLiteral("Label3_%1").arg(i)); }
    static QString Cells(Form11 *w)
    {
        QString all;
        for (int i = 0; i < Form11::kCells; ++i)
            all += Cell(w, i);
        return all;
    }
    static void SetBox(Form11 *w, int n, const QString &text)
    {
        Child<QLineEdit>(w, QStringLiteral("Text%1").arg(n))->setText(text);
    }
    static QString Box(Form11 *w, int n) { return Child<QLineEdit>(w, QStringLiteral("Text%1").arg(n))->text(); }
    static QString Boxes(Form11 *w)
    {
        QStringList boxes;
        for (int n = 1; n <= 5; ++n)
            boxes << Box(w, n);
        return boxes.join(u'|');
    }
    // The cell showing `hanzi` on the page shown, clicked.
    static void ClickEntry(Form11 *w, const QString &hanzi)
    {
        for (int i = 0; i < Form11::kCells; ++i) {
            if (Cell(w, i) == hanzi)
                return Click(w, QStringLiteral("Label3_%1").arg(i));
        }
        ADD_FAILURE() << hanzi.toStdString() << " not shown";
    }
};

TEST_F(Form11Test, PagesStepBy293)
{
    const struct {
        int count;
        std::vector<std::pair<char, int>> steps;   // 'n' next, 'p' previous; the page start after it
    } cases[] = {
        {600, {{'n', 293}, {'n', 586}, {'n', 879}, {'n', 879}, {'p', 586}}},
        {100, {{'p', 0}, {'n', 293}, {'n', 293}, {'p', 0}}},
    };
    for (const auto &c : cases) {
        UseDictionary(c.count);
        Form11 *w = Open();
        EXPECT_EQ(w->EntryCount(), c.count);
        EXPECT_EQ(LabelText(w, "Label1"), QStringLiteral("第1页"));
        EXPECT_EQ(Cell(w, 0), CharacterText(0x4E00));
        EXPECT_EQ(Child(w, "Label3_22")->geometry(), TwRect(840, 1200, 495, 375));   // row 1, column 1
        for (const auto &[step, start] : c.steps) {
            Click(w, step == 'n' ? "Command7" : "Command6");
            EXPECT_EQ(w->Grid()->Paging().Start(), start) << c.count << step;
            EXPECT_EQ(LabelText(w, "Label1"), QStringLiteral("第%1页").arg(start / 293 + 1));
            for (int i : {0, 13, 293}) {
                const int k = start + i;
                EXPECT_EQ(Cell(w, i), k < c.count ? CharacterText(0x4E00 + k) : QString()) << c.count << ' ' << k;
            }
        }
    }
}

TEST_F(Form11Test, ChangeWritesTheCurrentCharacterOnTheSamePage)
{
    UseDictionary(600);
    Form11 *w = Open();
    Click(w, "Command7");
    Click(w, "Command7");
    Click(w, "Label3_1");   // entry 587
    EXPECT_EQ(Boxes(w), QStringLiteral("588|") + CharacterText(0x4E00 + 587) + QStringLiteral("|0|yi|1"));
    SetBox(w, 6, QStringLiteral(" 东 "));
    SetBox(w, 2, QStringLiteral("西"));
    SetBox(w, 3, QStringLiteral("1"));
    SetBox(w, 5, QStringLiteral(" 3"));
    // 东 is neither the entry's character nor the one its box shows.
    Click(w, "Command3");
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("汉字框与所选条目不符，未修改！")});
    DictionaryRow kept;
    ASSERT_TRUE(ReadFirst(Rs(), QStringLiteral("select *from 中华新韵 where id=?"), {588}, kept));
    EXPECT_EQ(kept.hanzi + kept.tone, CharacterText(0x4E00 + 587) + u'0');
    dialogs_.told.clear();
    SetBox(w, 2, QStringLiteral("东"));   // the entry's own box renames it
    Click(w, "Command3");
    EXPECT_TRUE(dialogs_.told.isEmpty());
    EXPECT_EQ(LabelText(w, "Label1"), QStringLiteral("第3页"));
    EXPECT_EQ(Cell(w, 1), QStringLiteral("东"));
    EXPECT_EQ(Box(w, 1), QStringLiteral("588"));   // the boxes keep their values
    DictionaryRow row;
    ASSERT_TRUE(ReadFirst(Rs(), QStringLiteral("select *from 中华新韵 where id=?"), {588}, row));
    EXPECT_EQ(QStringList({row.hanzi, row.tone, row.group, row.pinyin}).join(u'|'), QStringLiteral("东|1|3|yi"));

    // Boxes that name no row or no number: a message, nothing written, the list as it was.
    const struct {
        const char *button, *id, *group;
        QString message;
    } refusals[] = {
        {"Command3", "", "3", QStringLiteral("未指定数据！")},
        {"Command5", " ", "3", QStringLiteral("未指定数据！")},
        {"Command3", "5x", "3", QStringLiteral("ID号必须是整数！")},
        {"Command5", "id", "3", QStringLiteral("ID号必须是整数！")},
        {"Command3", "588", "三", QStringLiteral("韵调必须是整数！")},
        {"Command4", "", "", QStringLiteral("韵调必须是整数！")},
        {"Command3", "9999", "3", QStringLiteral("存储失败：数据表“中华新韵”中已没有这条记录。")},
        {"Command5", "9999", "3", QStringLiteral("删除失败：数据表“中华新韵”中已没有这条记录。")},
    };
    for (const auto &r : refusals) {
        dialogs_.told.clear();
        SetBox(w, 1, QString::fromUtf8(r.id));
        SetBox(w, 5, QString::fromUtf8(r.group));
        Click(w, QLatin1String(r.button));
        EXPECT_EQ(dialogs_.told, QStringList{r.message}) << r.button << r.id;
        EXPECT_EQ(w->EntryCount(), 600);
        EXPECT_EQ(w->Grid()->Paging().Start(), 586);
    }
}

TEST_F(Form11Test, KeypadLettersSearchThePinyin)
{
    Form11 *w = Open();
    EXPECT_EQ(w->EntryCount(), 9);
    Click(w, "Label3_0");
    EXPECT_EQ(Box(w, 2), QStringLiteral("春"));
    Click(w, "Command1");
    auto *keypad = Windows().Get<Form7>(window::kKeypad);
    ASSERT_NE(keypad, nullptr);
    EXPECT_EQ(Boxes(w), QStringLiteral("||||"));
    for (const char *key : {"Command2_0", "Command2_1", "Command3", "Command2_2"})   // a b 清除 c
        Click(keypad, QLatin1String(key));
    EXPECT_EQ(AppContext::Instance().keypadLetters, QStringLiteral("c"));
    Click(keypad, "Command1");
    Settle();
    EXPECT_EQ(Windows().Find(window::kKeypad), nullptr);
    EXPECT_EQ(Cells(w), QStringLiteral("春处"));   // chun, chu
    EXPECT_EQ(LabelText(w, "Label1"), QStringLiteral("第1页"));

    // The other system lists its whole table, the letters notwithstanding.
    Click(w, "Command2");
    EXPECT_EQ(Child<QPushButton>(w, "Command2")->text(), QStringLiteral("平水韵"));
    EXPECT_EQ(w->EntryCount(), 9);
    // A window opened later starts on the letters that were typed.
    w = Open();
    EXPECT_EQ(Cells(w), QStringLiteral("春处"));
}

TEST_F(Form11Test, CharacterSearchTakesAnyTextAndACharacterBeyondTheBmpIsOneEntry)
{
    Form11 *w = Open();
    const QString beyond = CharacterText(0x20000);   // 𠀀
    const struct {
        QString text;
        QString cells;
    } cases[] = {
        {QStringLiteral(" 处 "), QStringLiteral("处")},
        {QString(), QStringLiteral("春眠不觉晓处闻啼鸟")},
        {QStringLiteral("处'"), QString()},   // a quote is only a character
        {beyond, QString()},
    };
    for (const auto &c : cases) {
        SetBox(w, 6, c.text);
        Click(w, "Command9");
        EXPECT_EQ(Cells(w), c.cells) << c.text.toStdString();
    }
    SetBox(w, 3, QStringLiteral("1"));
    SetBox(w, 5, QStringLiteral("1"));
    Click(w, "Command4");
    EXPECT_TRUE(dialogs_.told.isEmpty());
    EXPECT_EQ(w->EntryCount(), 10);
    EXPECT_EQ(Cell(w, 9), beyond);
    Click(w, "Command9");
    EXPECT_EQ(Cells(w), beyond);
    Click(w, "Label3_0");
    EXPECT_EQ(Box(w, 2), beyond);
    Click(w, "Label3_1");   // a blank cell empties the boxes
    EXPECT_EQ(Boxes(w), QStringLiteral("||||"));
}

TEST_F(Form11Test, TheNextCheckSeesEveryChange)
{
    Form1 *f = OpenForm1();
    f->SetPoem(QStringLiteral("春眠") + CharacterText(0x20000) + kCrLf);
    Form11 *w = Open();
    const struct {
        const char *button;   // on the entry hanzi with these boxes
        const char *hanzi, *write, *tone;
        const char *marks;    // the first line of Text6 after 判断正误
    } steps[] = {
        {nullptr, nullptr, nullptr, nullptr, "○○空"},
        {"Command3", "春", "春", "1", "●○空"},     // 修改
        {"Command4", nullptr, "𠀀", "1", "●○●"},  // 加入
        {"Command5", "眠", nullptr, nullptr, "●空●"},  // 删除
    };
    for (const auto &s : steps) {
        if (s.button) {
            if (s.hanzi)
                ClickEntry(w, QString::fromUtf8(s.hanzi));
            if (s.write)
                SetBox(w, 6, QString::fromUtf8(s.write));
            if (s.tone)
                SetBox(w, 3, QString::fromUtf8(s.tone));
            Click(w, QLatin1String(s.button));
            EXPECT_TRUE(dialogs_.told.isEmpty()) << s.button;
        }
        f->Command1_Click();
        EXPECT_EQ(f->Tones().section(kCrLf, 0, 0), QString::fromUtf8(s.marks)) << (s.button ? s.button : "");
    }
}

// The character of one search left in its box while another entry is
// chosen from a later search: 修改 refuses and writes nothing; with the box
// emptied it writes the entry the boxes show. Typed, clicked and closed with
// keys as a writer would.
TEST_F(Form11Test, ChangeNeverCarriesALeftoverCharacterIntoAnotherEntry)
{
    const auto table = [] {
        std::vector<DictionaryRow> rows;
        EXPECT_TRUE(ReadAll(Rs(), QStringLiteral("select *from 中华新韵"), {}, rows));
        QStringList out;
        for (const DictionaryRow &r : rows)
            out << r.hanzi + r.tone;
        return out;
    };
    Form11 *w = Open();
    const QStringList before = table();
    auto *text6 = Child<QLineEdit>(w, "Text6");
    Type(text6, QStringLiteral("春"));
    Click(w, "Command9");   // 查找汉字
    EXPECT_EQ(Cells(w), QStringLiteral("春"));
    Click(w, "Command1");   // 拼音查找, closed at once with Esc: every entry
    QTest::keyClick(Windows().Get<Form7>(window::kKeypad), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(Cells(w), QStringLiteral("春眠不觉晓处闻啼鸟"));
    ClickEntry(w, QStringLiteral("眠"));
    auto *text3 = Child<QLineEdit>(w, "Text3");
    text3->selectAll();
    Type(text3, QStringLiteral("1"));
    Click(w, "Command3");
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("汉字框与所选条目不符，未修改！")});
    EXPECT_EQ(table(), before);

    text6->selectAll();
    QTest::keyClick(text6, Qt::Key_Backspace);
    Click(w, "Command3");
    EXPECT_EQ(dialogs_.told.size(), 1);
    QStringList after = before;
    after[1] = QStringLiteral("眠1");
    EXPECT_EQ(table(), after);
}

// A change typed into the entry boxes goes only when the writer agrees,
// whichever way the boxes would be refilled or the window left; No keeps it.
TEST_F(Form11Test, TypedEntryChangesAreKeptUnlessTheWriterAgrees)
{
    const QString ask = QStringLiteral("汉字条目的修改尚未保存，确定放弃吗？");
    UseDictionary(30);
    struct Way {
        const char *what;
        std::function<void(Form11 *)> leave;
        bool closes;   // the window goes on Yes
    };
    const Way ways[] = {
        {"another cell", [](Form11 *w) { ClickEntry(w, CharacterText(0x4E02)); }, false},
        {"拼音查找", [](Form11 *w) { Click(w, QStringLiteral("Command1")); }, false},
        {"返回", [](Form11 *w) { Click(w, QStringLiteral("Command8")); }, true},
        {"Esc", [](Form11 *w) { QTest::keyClick(Child(w, QStringLiteral("Text3")), Qt::Key_Escape); }, true},
        {"desktop close", [](Form11 *w) { w->close(); }, true},
    };
    for (const Way &way : ways) {
        Form11 *w = Open();
        QApplication::setActiveWindow(w);
        ClickEntry(w, CharacterText(0x4E01));
        const QString shown = Boxes(w);
        auto *tone = Child<QLineEdit>(w, QStringLiteral("Text3"));
        tone->setFocus();
        tone->selectAll();
        Type(tone, QStringLiteral("1"));
        const QString typed = Boxes(w);
        ASSERT_NE(typed, shown) << way.what;
        dialogs_.asked.clear();
        dialogs_.answers = {false};
        way.leave(w);
        Settle();
        EXPECT_EQ(dialogs_.asked, QStringList{ask}) << way.what;
        ASSERT_EQ(Windows().Find(window::kDictionary), w) << way.what;
        EXPECT_EQ(Boxes(w), typed) << way.what;

        dialogs_.answers = {true};
        way.leave(w);
        Settle();
        EXPECT_EQ(Windows().Find(window::kDictionary) == nullptr, way.closes) << way.what;
        if (!way.closes) {
            EXPECT_NE(Boxes(w), typed) << way.what;
            // Boxes as they were filled go without a question.
            dialogs_.asked.clear();
            Click(w, QStringLiteral("Command8"));
            Settle();
            EXPECT_TRUE(dialogs_.asked.isEmpty()) << way.what;
            EXPECT_EQ(Windows().Find(window::kDictionary), nullptr) << way.what;
        }
        if (Windows().Find(window::kKeypad))
            Windows().Close(window::kKeypad);
    }
    // Nothing was written.
    std::vector<DictionaryRow> rows;
    ASSERT_TRUE(ReadAll(Rs(), QStringLiteral("select *from 中华新韵 where 汉字=?"), {CharacterText(0x4E01)}, rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].tone, QStringLiteral("0"));
}

// After 修改 the boxes hold what was written: leaving asks nothing.
TEST_F(Form11Test, WrittenEntryLeavesWithoutAQuestion)
{
    UseDictionary(30);
    Form11 *w = Open();
    ClickEntry(w, CharacterText(0x4E01));
    SetBox(w, 3, QStringLiteral("1"));
    Click(w, QStringLiteral("Command3"));
    Settle();
    dialogs_.asked.clear();
    Click(w, QStringLiteral("Command8"));
    Settle();
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_EQ(Windows().Find(window::kDictionary), nullptr);
}

}  // namespace
}  // namespace versilo::testing
