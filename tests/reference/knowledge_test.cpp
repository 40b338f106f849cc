// SPDX-License-Identifier: GPL-3.0-or-later
// The knowledge pages as a book: paging bounds and where a blank page goes.
#include "knowledge.h"

#include <gtest/gtest.h>

using namespace versilo;

namespace {

TEST(KnowledgeBook, PagingStaysWithinTheBook)
{
    struct Case {
        int current, count, next, previous, afterDelete;
    };
    const Case cases[] = {
        {2, 4, 3, 1, 2},   // the middle: the following page moves up
        {4, 4, 4, 3, 4},
        {5, 4, 4, 4, 4},   // the last of five pages was deleted
        {1, 1, 1, 1, 1},
        {1, 0, 0, 1, 0},   // empty book: 下一页 shows page 0
        {0, 0, 0, 1, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.current << " of " << c.count);
        EXPECT_EQ(NextPage(c.current, c.count), c.next);
        EXPECT_EQ(PreviousPage(c.current), c.previous);
        EXPECT_EQ(PageAfterDelete(c.current, c.count), c.afterDelete);
    }
    EXPECT_EQ(PageNumberCaption(12), QStringLiteral("第 12 页"));
}

std::vector<PageContent> Book(const QString &titles)
{
    std::vector<PageContent> pages;
    for (QChar c : titles)
        pages.push_back({c, c == u'_' ? QStringLiteral("空") : QString(c) + c});
    return pages;
}

QString Titles(const std::vector<PageContent> &pages)
{
    QString s;
    for (const PageContent &p : pages) {
        EXPECT_EQ(p.text, p.title == u'_' ? QStringLiteral("空") : p.title + p.title);
        s += p.title;
    }
    return s;
}

TEST(KnowledgeBook, BlankPageMovesToItsPlace)
{
    struct Case {
        const char16_t *book;   // after the blank page "_" was added at the end
        int current;
        InsertWhere where;
        const char16_t *result;
        int shown;
    };
    const Case cases[] = {
        {u"ABCD_", 2, InsertWhere::Before, u"A_BCD", 2},
        {u"ABCD_", 2, InsertWhere::After, u"AB_CD", 3},
        {u"ABCD_", 1, InsertWhere::Before, u"_ABCD", 1},
        {u"ABCD_", 4, InsertWhere::After, u"ABCD_", 5},
        {u"ABCD_", 4, InsertWhere::Before, u"ABC_D", 4},
        {u"_", 1, InsertWhere::After, u"_", 2},    // empty table: page 2 is empty
        {u"_", 1, InsertWhere::Before, u"_", 1},
        {u"_", 0, InsertWhere::Before, u"_", 1},   // nothing shown: before page 1
        {u"_", 0, InsertWhere::After, u"_", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.book).toStdString() + " at " + std::to_string(c.current));
        const int target = InsertTarget(c.current, c.where);
        EXPECT_EQ(Titles(MoveLastPageTo(Book(QString::fromUtf16(c.book)), target)),
                  QString::fromUtf16(c.result));
        EXPECT_EQ(PageAfterInsert(c.current, c.where), c.shown);
    }
    EXPECT_TRUE(MoveLastPageTo({}, 1).empty());
}

}  // namespace
