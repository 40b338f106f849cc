// The poetry library's rules without a window: the selection mark, the
// author line, the search pattern and the thumb-to-position mapping.
#include "library.h"

#include <gtest/gtest.h>

using namespace versilo;

namespace {

TEST(LibraryRules, SelectionMarkIsSingleAndInFront)
{
    EXPECT_EQ(Marked(QStringLiteral("静夜思")), QStringLiteral("●静夜思"));
    EXPECT_EQ(Marked(Marked(QStringLiteral("静夜思"))), QStringLiteral("●静夜思"));
    EXPECT_EQ(Unmarked(QStringLiteral("●静夜思")), QStringLiteral("静夜思"));
    EXPECT_EQ(Unmarked(QStringLiteral("李白")), QStringLiteral("李白"));
}

TEST(LibraryRules, AuthorLineAndPattern)
{
    EXPECT_EQ(AuthorLifeLine(QStringLiteral("唐"), 701.0), QStringLiteral("唐(公元701年)"));
    EXPECT_EQ(AuthorLifeLine(QStringLiteral("---"), -300.5), QStringLiteral("---(公元-300.5年)"));
    EXPECT_EQ(AuthorLifeLine(QStringLiteral("宋"), QVariant()), QStringLiteral("宋(公元年)"));
    EXPECT_EQ(InitialsPattern(QStringLiteral("jys")), QStringLiteral("%jys%"));
    EXPECT_EQ(InitialsPattern(QString()), QStringLiteral("%%"));
}

TEST(LibraryRules, ThumbTopGivesListStart)
{
    struct Case {
        const ThumbTrack &track;
        double top;
        int count, start;
    };
    const Case cases[] = {
        {kPoemThumb, 1245, 803, 0},
        {kPoemThumb, 1245 + 6200, 803, 804},   // past the end: 6200 * 803 / 6192
        {kPoemThumb, 1245 + 3096, 800, 400},
        {kPoemThumb, 1300, 0, 0},
        {kAuthorThumb, 1260, 231, 0},
        {kAuthorThumb, 1260 + 6130, 231, 226},
        {kAuthorThumb, 1260 + 624, 100, 10},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.track.StartAt(c.top, c.count), c.start) << c.top << " " << c.count;
}

}  // namespace
