// SPDX-License-Identifier: GPL-3.0-or-later
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
    EXPECT_EQ(AuthorLifeLine(QStringLiteral("唐"), 701), QStringLiteral("唐(公元701年)"));
    EXPECT_EQ(AuthorLifeLine(QStringLiteral("---"), -300.5), QStringLiteral("---(公元-300.5年)"));
    EXPECT_EQ(InitialsPattern(QStringLiteral("jys")), QStringLiteral("%jys%"));
    EXPECT_EQ(InitialsPattern(QString()), QStringLiteral("%%"));
}

TEST(LibraryRules, ThumbTopGivesListStart)
{
    struct Case {
        ScrollRules rules;
        double top;
        int count, start;
    };
    const Case cases[] = {
        {PoemScrollRules(), 1245, 803, 0},
        {PoemScrollRules(), 1245 + 6200, 803, 804},   // past the end: 6200 * 803 / 6192
        {PoemScrollRules(), 1245 + 3096, 800, 400},
        {AuthorScrollRules(), 1260 + 6130, 231, 226},
        {AuthorScrollRules(), 1260 + 624, 100, 10},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.rules.startAt(c.top, c.count), c.start) << c.top << " " << c.count;
}

TEST(LibraryRules, OnlyAPoemOfOneCharacterGoesOnTheLabel)
{
    EXPECT_TRUE(ShownOnLabel(QString()));
    EXPECT_TRUE(ShownOnLabel(QStringLiteral("诗")));
    EXPECT_TRUE(ShownOnLabel(QString::fromUcs4(U"\U00020000")));
    EXPECT_FALSE(ShownOnLabel(QStringLiteral("春晓")));
}

}  // namespace
