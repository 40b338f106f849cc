// SPDX-License-Identifier: GPL-3.0-or-later
// Pattern management: browse and edit modes, the stored form of a tune
// through the edit boxes, the scrolling list, and change, add and delete
// with their guards and messages.
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <deque>

#include "form6.h"
#include "namelist.h"
#include "patterns.h"
#include "twips.h"
#include "window_fixture.h"
#include "windownames.h"

namespace versilo::testing {
namespace {

class Form6Test : public WindowTest {
protected:
    Form6Test() : WindowTest(&RegisterPatternWindows, QPoint(70, 50)) {}

    Form6 *Open() { return qobject_cast<Form6 *>(Windows().OpenFresh(window::kPatternManager)); }
    // A 白香词谱 of the given rows ("篇名\t格律\t正文").
    void UseBook(const QStringList &rows)
    {
        const QString dir = TempPath(QStringLiteral("seed%1").arg(++seeds_));
        WriteSeed(dir, QStringLiteral("白香词谱"), QStringList{QStringLiteral("篇名\t格律\t正文")} + rows);
        UseSeed(dir);
    }
    static QString Name(Form6 *w, int i) { return LabelText(w, QStringLiteral("Label4_%1").arg(i)); }
    static QString Box(Form6 *w, const char *name)
    {
        if (auto *line = w->findChild<QLineEdit *>(QLatin1String(name)))
            return BoxText(line);
        return BoxText(Child<QPlainTextEdit>(w, QLatin1String(name)));
    }
    static void SetBox(Form6 *w, const char *name, const QString &text)
    {
        if (auto *line = w->findChild<QLineEdit *>(QLatin1String(name)))
            return SetBoxText(line, text);
        SetBoxText(Child<QPlainTextEdit>(w, QLatin1String(name)), text);
    }
    // Every tune of a book as "篇名#格律#正文" (null 篇名 as "<null>").
    static QStringList Tunes(const QString &book)
    {
        QStringList rows;
        Rs().Open(QStringLiteral("select *from ") + book);
        for (int i = 0; i < Rs().RecordCount(); ++i, Rs().MoveNext()) {
            const QVariant name = Rs().Field(QStringLiteral("篇名"));
            rows << (name.isNull() ? QStringLiteral("<null>") : name.toString()) + u'#' +
                        Rs().Text(QStringLiteral("格律")) + u'#' + Rs().Text(QStringLiteral("正文"));
        }
        Rs().Close();
        return rows;
    }
    void DragThumb(Form6 *w, int pixels)
    {
        QWidget *thumb = Child(w, "Label21");
        Send(thumb, QEvent::MouseButtonPress, QPoint(3, 3));
        Send(thumb, QEvent::MouseMove, QPoint(3, 3 + pixels));
        Send(thumb, QEvent::MouseButtonRelease, QPoint(3, 3 + pixels));
    }
    int seeds_ = 0;
};

TEST_F(Form6Test, BrowseModeShowsEditModeEdits)
{
    Form6 *w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->pos(), QPoint(70, 50));
    EXPECT_EQ(LabelText(w, "Label1"), QStringLiteral("诗词格律管理窗口（请不要在这里写作）"));
    EXPECT_EQ(w->Book(), QStringLiteral("白香词谱"));
    EXPECT_EQ(Name(w, 0), QStringLiteral("如梦令"));
    EXPECT_EQ(Name(w, 1), QStringLiteral("浣溪沙"));
    EXPECT_EQ(Name(w, 2), QString());
    EXPECT_EQ(Child(w, "Label4_19")->geometry(), TwRect(1080, 7380, 1200, 255));
    EXPECT_FALSE(w->EditMode());
    for (const char *box : {"Text7", "Text8", "Text4"})
        EXPECT_TRUE(Child(w, QLatin1String(box))->isHidden()) << box;

    // Browse mode: choosing fills the display labels; symbols, clear,
    // change and add do nothing.
    Click(w, "Label4_1");
    EXPECT_EQ(Box(w, "Text5"), QStringLiteral("2"));
    EXPECT_EQ(LabelText(w, "Label17"), QStringLiteral("◎●○○●●○\n"));
    EXPECT_EQ(LabelText(w, "Label18"), QStringLiteral("双调四十二字\n"));
    EXPECT_EQ(LabelText(w, "Label2"), QStringLiteral("浣溪沙"));
    const QStringList before = Tunes(QStringLiteral("白香词谱"));
    for (const char *control : {"Label11", "Image12", "Image9", "Image11"})
        Click(w, QLatin1String(control));
    EXPECT_EQ(Box(w, "Text7"), QStringLiteral("◎●○○●●○\r\n"));
    EXPECT_EQ(Box(w, "Text4"), QStringLiteral("浣溪沙"));
    EXPECT_EQ(Tunes(QStringLiteral("白香词谱")), before);
    EXPECT_TRUE(dialogs_.told.isEmpty());

    // Edit mode: the six symbols go to the end of the pattern.
    Click(w, "Image5");
    EXPECT_TRUE(w->EditMode());
    for (int i = 11; i <= 16; ++i)
        Click(w, QStringLiteral("Label%1").arg(i));
    EXPECT_EQ(Box(w, "Text7"), QStringLiteral("◎●○○●●○\r\n○●⊙◎△▲"));
    SetBox(w, "Text4", QStringLiteral("浣溪沙二"));
    Click(w, "Image6");   // back to browse: the labels show the boxes
    EXPECT_FALSE(w->EditMode());
    EXPECT_EQ(LabelText(w, "Label17"), QStringLiteral("◎●○○●●○\n○●⊙◎△▲"));
    EXPECT_EQ(LabelText(w, "Label2"), QStringLiteral("浣溪沙二"));
    Click(w, "Image5");
    Click(w, "Image12");   // clear
    EXPECT_EQ(Box(w, "Text7") + Box(w, "Text8") + Box(w, "Text4"), QString());
    EXPECT_EQ(LabelText(w, "Label17") + LabelText(w, "Label18"), QString());
    EXPECT_EQ(Box(w, "Text5"), QStringLiteral("2"));   // the choice stays

    Click(w, "Image13");
    EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(Windows().Find(window::kPatternManager), w);
}

TEST_F(Form6Test, StoredFormRoundTripAndChangeGoesBackToTheTop)
{
    QStringList rows{QStringLiteral("甲\t○●-●○-\t双调-例词")};
    for (int i = 1; i < 30; ++i)
        rows << QStringLiteral("调%1\t○-\t-").arg(i);
    UseBook(rows);
    Form6 *w = Open();
    Click(w, "Label4_0");
    EXPECT_EQ(Box(w, "Text7"), QStringLiteral("○●\r\n●○\r\n"));   // every "-" a line break
    EXPECT_EQ(Box(w, "Text8"), QStringLiteral("双调\r\n例词"));
    Click(w, "Image5");
    Click(w, "Image3");
    Click(w, "Image3");
    EXPECT_EQ(w->List()->Start(), 2);

    Click(w, "Image9");
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("修改存储完毕!")});
    EXPECT_EQ(Tunes(QStringLiteral("白香词谱")).first(), QStringLiteral("甲#○●-●○-#双调-例词"));   // unchanged
    EXPECT_EQ(w->List()->Start(), 0);
    EXPECT_EQ(w->List()->Thumb()->geometry().top(), Px(1665));
    EXPECT_EQ(Box(w, "Text7"), QStringLiteral("○●\r\n●○\r\n"));   // the boxes stay
    EXPECT_EQ(Box(w, "Text5"), QStringLiteral("1"));
}

TEST_F(Form6Test, ArrowsReachTheLastNameAndTheDragMapsTheWholeBook)
{
    QStringList rows;
    for (int i = 0; i < 100; ++i)
        rows << QStringLiteral("调%1\t○-\t-").arg(i);
    UseBook(rows);
    Form6 *w = Open();
    Click(w, "Image2");   // up at the top: nothing moves
    EXPECT_EQ(w->List()->Start(), 0);
    for (int i = 0; i < 90; ++i)
        Click(w, "Image3");
    EXPECT_EQ(w->List()->Start(), 80);
    EXPECT_EQ(Name(w, 19), QStringLiteral("调99"));
    EXPECT_EQ(w->List()->Thumb()->geometry().top(), Px(1665 + 4480));
    Click(w, "Image2");
    EXPECT_EQ(Name(w, 0), QStringLiteral("调79"));

    // 5600 twips of drag cover the book; below that the labels run empty.
    w->List()->Reload(w->TuneCount());
    DragThumb(w, 20);   // 300 twips
    EXPECT_EQ(w->List()->Start(), 5);
    DragThumb(w, 1000);   // held at the lowest top, 7945
    EXPECT_EQ(w->List()->Thumb()->geometry().top(), Px(7945));
    EXPECT_EQ(w->List()->Start(), 112);
    EXPECT_EQ(Name(w, 0), QString());
    Click(w, "Image3");   // already past the end
    EXPECT_EQ(w->List()->Start(), 112);
    DragThumb(w, -1000);
    EXPECT_EQ(w->List()->Start(), 0);
    Click(w, "Label4_3");
    EXPECT_EQ(Box(w, "Text4"), QStringLiteral("调3"));
}

TEST_F(Form6Test, ChangeAfterABookSwitchWritesNothing)
{
    Form6 *w = Open();
    Click(w, "Label4_0");   // 如梦令, id 1 of 白香词谱
    Click(w, "Image5");
    Click(w, "Image8");     // 常用词谱, whose row 1 is 忆江南
    EXPECT_EQ(w->Book(), QStringLiteral("常用词谱"));
    EXPECT_EQ(Box(w, "Text5"), QString());
    EXPECT_EQ(LabelText(w, "Label2"), QString());
    SetBox(w, "Text4", QStringLiteral("如梦令"));
    SetBox(w, "Text7", QStringLiteral("○\r\n"));
    const QStringList before = Tunes(QStringLiteral("常用词谱"));
    Click(w, "Image9");
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("未指定数据！")});
    EXPECT_EQ(Tunes(QStringLiteral("常用词谱")), before);
    Click(w, "Image10");   // no id: delete does nothing
    EXPECT_EQ(dialogs_.told.size(), 1);
    EXPECT_TRUE(dialogs_.asked.isEmpty());
}

TEST_F(Form6Test, AddStoresAndTakesOneNamelessTuneAlong)
{
    Form6 *w = Open();
    Click(w, "Image8");   // 常用词谱 holds one tune without a name
    Click(w, "Image5");
    Click(w, "Image11");   // no name: refused
    EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("请填写词牌名！")});
    SetBox(w, "Text4", QStringLiteral("  新调 "));
    SetBox(w, "Text7", QStringLiteral("○●\r\n●○"));
    SetBox(w, "Text8", QStringLiteral("说明\r\n"));
    Click(w, "Image11");
    EXPECT_EQ(dialogs_.told.last(), QStringLiteral("存储完毕!"));
    EXPECT_EQ(Tunes(QStringLiteral("常用词谱")),
              (QStringList{QStringLiteral("忆江南#○○●●●-●●○○○-#单调二十七字-例：白居易词-"),
                           QStringLiteral("长相思#◎●○-◎●○-#双调三十六字-"),
                           QStringLiteral("捣练子#○●●-●○○-#单调二十七字-"), QStringLiteral("新调#○●-●○#说明-")}));
    EXPECT_EQ(w->TuneCount(), 4);
    EXPECT_EQ(Name(w, 3), QStringLiteral("新调"));
    EXPECT_EQ(Child(w, "Label16")->geometry(), TwRect(12000, 6120, 375, 375));   // ▲ stays in its place
}

TEST_F(Form6Test, DeleteAsksAndEmptiesTheBoxesEvenOnNo)
{
    Form6 *w = Open();
    const struct {
        bool answer;
        int tunesAfter;
        QStringList told;
    } cases[] = {{false, 2, {}}, {true, 1, {QStringLiteral("数据成功删除！")}}};
    for (const auto &c : cases) {
        dialogs_.told.clear();
        dialogs_.answers = {c.answer};
        Click(w, "Label4_0");
        Click(w, "Image10");
        EXPECT_EQ(dialogs_.asked.last(), QStringLiteral("真要删除当前数据吗？"));
        EXPECT_EQ(dialogs_.told, c.told);
        EXPECT_EQ(Tunes(QStringLiteral("白香词谱")).size(), c.tunesAfter);
        EXPECT_EQ(Box(w, "Text5") + Box(w, "Text7") + Box(w, "Text8") + Box(w, "Text4"), QString());
        EXPECT_EQ(LabelText(w, "Label2") + LabelText(w, "Label17") + LabelText(w, "Label18"), QString());
    }
    EXPECT_EQ(Name(w, 0), QStringLiteral("浣溪沙"));
    EXPECT_EQ(w->SelectedPosition(), -1);
}

TEST_F(Form6Test, AFailedWriteSaysSoAndKeepsTheBoxes)
{
    Form6 *w = Open();
    Click(w, "Label4_0");
    Click(w, "Image5");
    // The tune goes behind the window's back.
    ASSERT_TRUE(DeleteRow(Rs(), QStringLiteral("白香词谱"), 1));
    SetBox(w, "Text4", QStringLiteral("如梦令二"));
    Click(w, "Image9");
    dialogs_.answers = {true};
    Click(w, "Image10");
    EXPECT_EQ(dialogs_.told, (QStringList{QStringLiteral("存储失败：数据表“白香词谱”中已没有这条记录。"),
                                          QStringLiteral("删除失败：数据表“白香词谱”中已没有这条记录。")}));
    EXPECT_EQ(Box(w, "Text4"), QStringLiteral("如梦令二"));
    EXPECT_EQ(Box(w, "Text7"), QStringLiteral("◎●◎○○●\r\n◎●◎○○●\r\n"));
    EXPECT_EQ(Box(w, "Text5"), QStringLiteral("1"));
}

// A tune typed as a writer types it (no Return after the last line), chosen
// after scrolling, changed again and again with nothing typed, and picked in
// the pattern browser: every line arrives, and the stored row never grows.
TEST_F(Form6Test, TypedTuneSurvivesStoringAndShowingExactly)
{
    QStringList rows;
    for (int i = 0; i < 30; ++i)
        rows << QStringLiteral("调%1\t○-\t-").arg(i);
    UseBook(rows);
    Form6 *w = Open();
    Click(w, "Image5");
    auto *name = Child<QLineEdit>(w, "Text4");
    auto *pattern = Child<QPlainTextEdit>(w, "Text7");
    auto *explanation = Child<QPlainTextEdit>(w, "Text8");
    Type(name, QStringLiteral("新调"));
    Type(pattern, QStringLiteral("○●"));
    QTest::keyClick(pattern, Qt::Key_Return);
    Type(pattern, QStringLiteral("●○"));
    Type(explanation, QStringLiteral("双调"));
    QTest::keyClick(explanation, Qt::Key_Return);
    Type(explanation, QStringLiteral("例词"));
    Click(w, "Image11");   // 加入
    EXPECT_EQ(Tunes(QStringLiteral("白香词谱")).last(), QStringLiteral("新调#○●-●○#双调-例词"));

    // Scrolled to the end with the arrows, the new tune chosen there.
    for (int i = 0; i < 15; ++i)
        Click(w, "Image3");
    EXPECT_EQ(w->List()->Start(), 31 - Form6::kLabels);
    Click(w, "Label4_19");
    EXPECT_EQ(Box(w, "Text4"), QStringLiteral("新调"));
    EXPECT_EQ(Box(w, "Text7"), QStringLiteral("○●\r\n●○"));
    for (int i = 0; i < 3; ++i)
        Click(w, "Image9");   // 修改, nothing typed
    EXPECT_EQ(Tunes(QStringLiteral("白香词谱")).last(), QStringLiteral("新调#○●-●○#双调-例词"));

    Form1 *f = OpenForm1();
    Click(f, "Command3");   // 白香词谱
    auto *browser = OpenFrom<QWidget>(f, "Command4", QStringLiteral("Form2"));
    Click(browser, "Label5_30");
    ExpectTune(f, QStringLiteral("新调"), QStringLiteral("○●\r\n●○\r\n\r\n"), QStringLiteral("双调\r\n例词\r\n"));
}

// A symbol goes to the end of the pattern and the caret after it, the
// focus back in the box, so typing goes on there; Esc leaves as 退出 does.
TEST_F(Form6Test, SymbolPutsTheCaretAfterItAndEscLeaves)
{
    Form6 *w = Open();
    QApplication::setActiveWindow(w);
    Click(w, "Label4_1");
    Click(w, "Image5");
    auto *pattern = Child<QPlainTextEdit>(w, "Text7");
    QTextCursor start = pattern->textCursor();
    start.movePosition(QTextCursor::Start);
    pattern->setTextCursor(start);
    const struct {
        const char *label;
        const char16_t *after;
    } steps[] = {{"Label15", u"△"}, {"Label16", u"△▲"}, {"Label13", u"△▲⊙"}};
    for (const auto &step : steps) {
        Click(w, QLatin1String(step.label));
        const QString text = QStringLiteral("◎●○○●●○\r\n") + QString::fromUtf16(step.after);
        EXPECT_EQ(Box(w, "Text7"), text);
        EXPECT_EQ(pattern->textCursor().position(), pattern->document()->characterCount() - 1) << step.label;
    }
    EXPECT_EQ(QApplication::focusWidget(), pattern);
    Type(pattern, QStringLiteral("○"));
    EXPECT_EQ(Box(w, "Text7"), QStringLiteral("◎●○○●●○\r\n△▲⊙○"));

    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(Windows().Find(window::kPatternManager), w);
}

// Typed changes go only after a question answered 是: choosing another
// tune, another book, 清空, 删除词谱 answered 否, the desktop's close.
TEST_F(Form6Test, TypedChangesGoOnlyAfterAYes)
{
    const QString ask = QStringLiteral("词谱的修改尚未保存，确定放弃吗？");
    const struct {
        const char *control;
        std::deque<bool> answers;
        QStringList asked;
        bool kept;
    } cases[] = {
        {"Label4_1", {false}, {ask}, true},
        {"Label4_1", {true}, {ask}, false},
        {"Image8", {false}, {ask}, true},
        {"Image12", {false}, {ask}, true},
        {"Image12", {true}, {ask}, false},
        {"Image10", {false}, {QStringLiteral("真要删除当前数据吗？")}, true},
        {"Image13", {}, {}, true},   // 退出 only hides: nothing goes
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.control) + (c.answers.empty() || c.answers[0] ? " yes" : " no"));
        Form6 *w = Open();
        dialogs_.asked.clear();
        Click(w, "Label4_0");
        Click(w, "Image5");
        Type(Child<QPlainTextEdit>(w, "Text8"), QStringLiteral("注"));
        EXPECT_TRUE(w->EditsPending());
        dialogs_.answers = c.answers;
        Click(w, QLatin1String(c.control));
        EXPECT_EQ(dialogs_.asked, c.asked);
        EXPECT_EQ(Box(w, "Text8").startsWith(QStringLiteral("注")), c.kept);
        EXPECT_EQ(w->EditsPending(), c.kept);
        if (c.kept) {
            EXPECT_EQ(Box(w, "Text5"), QStringLiteral("1"));
        }
    }
    // The desktop's close asks the same; 否 keeps the window.
    Form6 *w = Windows().Get<Form6>(window::kPatternManager);
    w->show();
    dialogs_.asked.clear();
    dialogs_.answers = {false};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(dialogs_.asked, QStringList{ask});
    EXPECT_EQ(Windows().Find(window::kPatternManager), w);
}

}  // namespace
}  // namespace versilo::testing
