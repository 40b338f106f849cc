// SPDX-License-Identifier: GPL-3.0-or-later
// The explanations behind the marks of the composition window: tooltips on
// the two result columns and the underlined lines, after a check.
#include <QHelpEvent>
#include <QTextBlock>
#include <QToolTip>

#include "markexplainer.h"
#include "window_fixture.h"

namespace versilo::testing {
namespace {

class MarkExplainerTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // The characters of 登鹳雀楼 with their 平水韵 groups; 更 has both readings.
        const QString seed = TempPath(QStringLiteral("seed"));
        WriteSeed(seed, QStringLiteral("平水韵"),
                  {"汉字\t平仄\t韵调\t拼音", "白\t1\t102\tbai", "日\t1\t95\tri", "依\t0\t6\tyi",
                   "山\t0\t16\tshan", "尽\t1\t42\tjin", "黄\t0\t23\thuang", "河\t0\t21\the",
                   "入\t1\t105\tru", "海\t1\t41\thai", "流\t0\t27\tliu", "欲\t1\t101\tyu",
                   "穷\t0\t1\tqiong", "千\t0\t17\tqian", "里\t1\t35\tli", "目\t1\t92\tmu",
                   "更\t2\t85\tgeng", "更\t2\t24\tgeng", "上\t1\t53\tshang", "一\t1\t95\tyi",
                   "层\t0\t26\tceng", "人\t0\t12\tren"});
        UseSeed(seed);
    }
};

TEST_F(MarkExplainerTest, TooltipsAndUnderlinesFollowTheCheck)
{
    Form1 *f = OpenForm1();
    auto *explainer = f->findChild<MarkExplainer *>();
    ASSERT_NE(explainer, nullptr);
    auto *text6 = Child<QPlainTextEdit>(f, "Text6");
    auto *text8 = Child<QPlainTextEdit>(f, "Text8");
    // 人 does not rhyme with 流.
    f->SetPoem(QStringLiteral("白日依山尽，黄河入海流。\r\n欲穷千里目，更上一层人。\r\n"));
    Click(f, "Command2");   // 平水韵
    Click(f, "Command9");
    EXPECT_EQ(f->Tones(), QStringLiteral("●●○○●○○●●○\r\n●○○●●※●●○○\r\n\r\n\r\n"));
    EXPECT_EQ(f->Results(), QStringLiteral("陌质微删轸阳歌缉贿尤\r\n药东先纸屋筐养质蒸真\r\n\r\n\r\n"));

    const QString rhyme = explainer->TipAt(text6, 1, 9);
    EXPECT_TRUE(rhyme.contains(QStringLiteral("「人」读音：平·真韵"))) << rhyme.toStdString();
    EXPECT_TRUE(rhyme.contains(QStringLiteral("误：韵脚「人」属真韵"))) << rhyme.toStdString();
    // Over the group name the rhyme column adds the group's most used words.
    EXPECT_EQ(explainer->TipAt(text8, 1, 9), rhyme + QStringLiteral("\n真韵常用字：人"));
    EXPECT_EQ(explainer->TipAt(text8, 1, 4), explainer->TipAt(text6, 1, 4) + QStringLiteral("\n屋韵常用字：目"));
    EXPECT_FALSE(explainer->TipAt(text6, 1, 9).contains(QStringLiteral("常用字")));
    const QString both = explainer->TipAt(text6, 1, 5);
    EXPECT_TRUE(both.contains(QStringLiteral("注：「更」平仄两读（平：筐；仄：敬），此处平仄不拘"))) << both.toStdString();
    EXPECT_TRUE(explainer->TipAt(text6, 0, 0).startsWith(QStringLiteral("体裁：五绝 仄起 首句不入韵")));
    EXPECT_EQ(explainer->TipAt(text6, 2, 0), QString());
    EXPECT_EQ(explainer->MarkedLines(), QList<int>{1});
    ASSERT_EQ(text8->extraSelections().size(), 1);
    EXPECT_EQ(text8->extraSelections().first().cursor.selectedText(), QStringLiteral("药东先纸屋筐养质蒸真"));
    EXPECT_TRUE(text6->extraSelections().isEmpty());

    // The pointer resting on the mark of 人 shows the tooltip.
    const QTextBlock block = text6->document()->findBlockByNumber(1);
    QTextCursor at(block);
    at.setPosition(block.position() + 9);
    const QPoint inside = text6->cursorRect(at).center() + QPoint(3, 0);
    QHelpEvent help(QEvent::ToolTip, inside, text6->viewport()->mapToGlobal(inside));
    QCoreApplication::sendEvent(text6->viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("误：韵脚「人」属真韵"))) << QToolTip::text().toStdString();
    QToolTip::hideText();

    // Without a tune the conformance check leaves Text8 empty: the tone column is underlined.
    Click(f, "Command1");
    EXPECT_TRUE(text8->extraSelections().isEmpty());
    EXPECT_EQ(text6->extraSelections().size(), 1);

    // A change of the columns makes the findings go.
    Click(f, "Command6");
    EXPECT_EQ(explainer->TipAt(text6, 1, 9), QString());
    EXPECT_TRUE(text6->extraSelections().isEmpty());
    EXPECT_TRUE(explainer->MarkedLines().isEmpty());
}

}  // namespace
}  // namespace versilo::testing
