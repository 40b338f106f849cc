// SPDX-License-Identifier: GPL-3.0-or-later
// The 对仗 of a 律诗 in the tooltips of the composition window: on the marks
// of the second line of a couplet, after a check.
#include <QFile>
#include <QSet>

#include "markexplainer.h"
#include "window_fixture.h"

namespace versilo::testing {
namespace {

const QString kPoem = QStringLiteral("青山横北郭，白水绕东城。\r\n此地一为别，孤蓬万里征。\r\n"
                                     "浮云游子意，落日故人情。\r\n挥手自兹去，萧萧班马鸣。\r\n");

class CoupletsTipTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // The 平水韵 rows of the poem's characters, from the table the program carries.
        QFile table(QStringLiteral(VERSILO_SOURCE_DIR "/data/seed/平水韵.tsv"));
        ASSERT_TRUE(table.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(table.readAll()).split(u'\n');
        QSet<QString> chars;
        for (QChar c : kPoem)
            chars.insert(QString(c));
        QStringList rows{lines.first()};
        for (const QString &l : lines.mid(1)) {
            if (!l.isEmpty() && chars.contains(l.section(u'\t', 0, 0)))
                rows.append(l);
        }
        const QString seed = TempPath(QStringLiteral("seed"));
        WriteSeed(seed, QStringLiteral("平水韵"), rows);
        UseSeed(seed);
    }
};

TEST_F(CoupletsTipTest, TheSecondLineOfACoupletTellsItsFacing)
{
    Form1 *f = OpenForm1();
    auto *explainer = f->findChild<MarkExplainer *>();
    ASSERT_NE(explainer, nullptr);
    auto *text6 = Child<QPlainTextEdit>(f, "Text6");
    f->SetPoem(kPoem);
    Click(f, "Command2");   // 平水韵
    Click(f, "Command9");
    ASSERT_TRUE(explainer->TipAt(text6, 0, 0).startsWith(QStringLiteral("体裁：五律")))
        << explainer->TipAt(text6, 0, 0).toStdString();

    // 孤蓬万里征 does not face 此地一为别: a fault on every mark of that line.
    for (int position : {6, 9}) {
        const QString tip = explainer->TipAt(text6, 1, position);
        EXPECT_TRUE(tip.contains(QStringLiteral("误：颔联不对仗：此地—孤蓬"))) << tip.toStdString();
    }
    // The first line of the couplet says nothing of it; the 首联 that faces is a note.
    EXPECT_FALSE(explainer->TipAt(text6, 1, 0).contains(QStringLiteral("颔联")));
    EXPECT_TRUE(explainer->TipAt(text6, 0, 6).contains(QStringLiteral("注：首联对仗")))
        << explainer->TipAt(text6, 0, 6).toStdString();
    EXPECT_FALSE(explainer->TipAt(text6, 2, 6).contains(QStringLiteral("颈联")));
    EXPECT_TRUE(explainer->MarkedLines().contains(1));
}

}  // namespace
}  // namespace versilo::testing
