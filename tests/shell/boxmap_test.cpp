// SPDX-License-Identifier: GPL-3.0-or-later
// A window's boxes bound to the columns of its row: what Fill shows, Read
// gives back, line breaks and ids included, and no column a box lacks is
// touched.
#include "boxmap.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "gateway.h"

namespace versilo {
namespace {

TEST(BoxMap, ReadGivesBackWhatFillShowed)
{
    QLabel id;
    QLineEdit title;
    QPlainTextEdit poem;
    BoxMap<WorkRow> boxes;
    boxes.Id(&id, &WorkRow::id).Text(&title, &WorkRow::title).Text(&poem, &WorkRow::poem);

    const WorkRow rows[] = {
        {7, QStringLiteral("春晓"), QStringLiteral("春眠不觉晓，\r\n处处闻啼鸟。"), {}, {}, {}, {}, {}},
        {0, {}, {}, {}, {}, {}, {}, {}},
        {12, QStringLiteral(" 有空格 "), QStringLiteral("\r\n\r\n"), {}, {}, {}, {}, {}},
    };
    for (const WorkRow &row : rows) {
        boxes.Fill(row);
        EXPECT_EQ(id.text(), row.id ? QString::number(row.id) : QString()) << row.id;
        EXPECT_EQ(title.text(), row.title) << row.id;
        const WorkRow back = boxes.Read();
        EXPECT_EQ(back.id, row.id);
        EXPECT_EQ(back.title, row.title);
        EXPECT_EQ(back.poem, row.poem);
    }

    // Typing changes only the bound column read back; the others keep what
    // the row given to Read holds.
    title.setText(QStringLiteral("新题"));
    WorkRow base;
    base.author = QStringLiteral("孟浩然");
    base.pattern = QStringLiteral("○○");
    const WorkRow back = boxes.Read(base);
    EXPECT_EQ(back.title, QStringLiteral("新题"));
    EXPECT_EQ(back.author, QStringLiteral("孟浩然"));
    EXPECT_EQ(back.pattern, QStringLiteral("○○"));
}

}  // namespace
}  // namespace versilo
