// Paging a list over a fixed set of labels, without widgets.
#include <gtest/gtest.h>

#include "pager.h"

using namespace versilo;

namespace {

// Steps of 71 over lists of different lengths: "n" next, "p" previous.
TEST(Pager, NextStopsOncePastTheEndPreviousAtTheTop)
{
    struct Case {
        int count;
        const char *moves;
        int start;
        int page;
    } cases[] = {
        {0, "n", 0, 1},          // an empty list has no next page
        {71, "n", 71, 2},        // one page past the last entry...
        {71, "nn", 71, 2},       // ...and no further: start equals count
        {100, "nnn", 142, 3},
        {100, "nnp", 71, 2},
        {100, "p", 0, 1},
        {100, "np", 0, 1},
        {100, "npp", 0, 1},
    };
    for (const Case &c : cases) {
        Pager p(71);
        p.Reset(c.count);
        for (const char *m = c.moves; *m; ++m)
            *m == 'n' ? p.Next() : p.Previous();
        EXPECT_EQ(p.Start(), c.start) << c.count << ' ' << c.moves;
        EXPECT_EQ(p.PageNumber(), c.page) << c.count << ' ' << c.moves;
        EXPECT_EQ(p.At(3), c.start + 3);
    }
    Pager p(293);
    p.Reset(600);
    p.Next();
    p.SetCount(10);   // read again: the page stays
    EXPECT_EQ(p.Start(), 293);
    EXPECT_FALSE(p.Next());
    p.Reset(10);
    EXPECT_EQ(p.Start(), 0);
}

}  // namespace
