// SPDX-License-Identifier: GPL-3.0-or-later
// Paging a list over a fixed set of labels, and scrolling a name list with
// its thumb, arrows and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <map>

#include "gridfocus.h"
#include "namelist.h"
#include "ui_support.h"
#include "pager.h"
#include "twips.h"
#include "widgets.h"

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

// Pages of 294 cells stepping by 293, as the dictionary grid pages.
// A page reached that still shows an entry counts; the empty one past the
// end does not.
TEST(Pager, PageCountCountsFilledPagesAndReachedPagesThatShowAnEntry)
{
    const struct {
        int count;
        int nexts;
        int pages;
    } cases[] = {{0, 0, 1}, {294, 0, 1}, {295, 0, 2}, {600, 0, 3}, {600, 2, 3}, {600, 3, 3},
                 {100, 1, 1}, {294, 1, 2}};
    for (const auto &c : cases) {
        Pager p(293);
        p.Reset(c.count);
        for (int i = 0; i < c.nexts; ++i)
            p.Next();
        EXPECT_EQ(p.PageCount(294), c.pages) << c.count << " after " << c.nexts;
    }
}

// Arrow keys over a row-major grid of 3 x 2 whose last two cells are empty
// ("." below), and a column-major one of 2 x 3 ("lrud": left, right, up, down).
TEST(GridFocus, ArrowsFollowTheReadingOrderAndStopAtEdgesAndEmptyCells)
{
    const struct {
        bool columnMajor;
        int from;
        char move;
        int to;
    } cases[] = {
        // 0 1 2
        // 3 . .
        {false, 0, 'r', 1}, {false, 2, 'r', 3}, {false, 3, 'l', 2}, {false, 0, 'd', 3},
        {false, 1, 'd', 1}, {false, 3, 'r', 3}, {false, 0, 'u', 0}, {false, 1, 'E', 3},
        {false, -1, 'd', 0},
        // 0 3
        // 1 .
        // 2 .
        {true, 0, 'd', 1}, {true, 2, 'd', 3}, {true, 0, 'r', 3}, {true, 1, 'r', 1}, {true, 3, 'l', 0},
    };
    const std::map<char, GridMove> moves = {{'l', GridMove::Left}, {'r', GridMove::Right}, {'u', GridMove::Up},
                                            {'d', GridMove::Down}, {'E', GridMove::Last}};
    for (const auto &c : cases) {
        const GridShape shape = c.columnMajor ? GridShape{2, 3, true} : GridShape{3, 2, false};
        EXPECT_EQ(MoveInGrid(c.from, moves.at(c.move), shape, [](int i) { return i < 4; }), c.to)
            << c.columnMajor << ' ' << c.from << c.move;
    }
}

// The constants of the pattern management list.
ScrollRules PatternListRules()
{
    ScrollRules r;
    r.resetTop = 1665;
    r.upStep = r.downStep = 8520;
    r.upMinTop = 1665;
    r.downMaxTop = 7500;
    r.dragMin = 1665;
    r.dragMax = 7945;
    r.startAt = LinearStart(1665, 5600);
    return r;
}

// "u" up arrow, "d" down arrow, a number: the thumb dragged to that top.
TEST(ListScroll, ArrowsAndDragKeepTheirOwnBounds)
{
    struct Case {
        int count;
        std::vector<double> moves;   // -1 up, -2 down, else a drag
        int start;
        double top;
    } cases[] = {
        {100, {-2}, 1, 1665 + 85.2},
        {100, {-2, -1}, 0, 1665},
        {100, {-1}, 0, 1665},
        {10, {-2, -2, -2, -2, -2, -2, -2}, 6, 7500},   // the seventh step passes 7500: the list stays
        {0, {-2}, 1, 1665},                             // empty: the thumb stays, the list moves on
        {0, {-2, -1}, 0, 1665},
        {10, {9000}, 11, 7945},                         // the drag goes past the last name
        {10, {100}, 0, 1665},
        {0, {5000}, 0, 1665},                           // an empty list does not drag
    };
    for (const Case &c : cases) {
        ListScroll s(PatternListRules());
        s.Reset(c.count);
        for (double m : c.moves)
            m == -1 ? s.Up() : m == -2 ? s.Down() : void(s.DragTo(m));
        EXPECT_EQ(s.Start(), c.start) << c.count << ' ' << c.moves.size();
        EXPECT_DOUBLE_EQ(s.ThumbTop(), c.top) << c.count << ' ' << c.moves.size();
    }
    // The printing window's thumb: 25 works, 4480 twips down show from 20 on.
    EXPECT_EQ(LinearStart(960, 5600)(5440, 25), 20);
}

// Arrows that keep the list in view (the pattern management list): the last
// name comes onto the last label and no further; the thumb stands where a
// drag would show the same start.
TEST(ListScroll, ArrowsThatKeepTheListInViewReachTheLastEntry)
{
    ScrollRules r = PatternListRules();
    r.keepInView = 20;
    r.thumbAt = LinearThumb(1665, 5600);
    struct Case {
        int count;
        std::vector<double> moves;   // -1 up, -2 down, else a drag
        int start;
        double top;
    } cases[] = {
        {100, {-2}, 1, 1665 + 56},
        {100, std::vector<double>(200, -2), 80, 1665 + 4480},   // names 80 to 99 on the 20 labels
        {100, {-2, -1}, 0, 1665},
        {100, {-1}, 0, 1665},
        {20, {-2}, 0, 1665},                                    // all in view: nothing moves
        {0, {-2, -1}, 0, 1665},
        {100, {9000, -2}, 112, 7945},                           // dragged past the end: down stays
        {100, {9000, -1}, 111, 1665 + 6216},
    };
    for (const Case &c : cases) {
        ListScroll s(r);
        s.Reset(c.count);
        for (double m : c.moves)
            m == -1 ? s.Up() : m == -2 ? s.Down() : void(s.DragTo(m));
        EXPECT_EQ(s.Start(), c.start) << c.count << ' ' << c.moves.size();
        EXPECT_DOUBLE_EQ(s.ThumbTop(), c.top) << c.count << ' ' << c.moves.size();
    }
    // The thumb placed for a start shows that start again when dragged.
    const auto startAt = LinearStart(1665, 5600);
    const auto thumbAt = LinearThumb(1665, 5600);
    for (int count : {1, 7, 21, 64, 100, 999})
        for (int start = 0; start <= count; ++start)
            ASSERT_EQ(startAt(thumbAt(start, count), count), start) << start << '/' << count;
}

// The pattern management list: 20 labels over `names` names "调0", "调1" ...
struct PatternList {
    QWidget window;
    NameList *list = nullptr;
    int names = 30;
    PatternList()
    {
        window.resize(TwSize(13095, 8775));
        NameListLayout layout;
        layout.labels = 20;
        layout.left = 1080;
        layout.top = 1680;
        layout.width = 1200;
        layout.height = 255;
        layout.thumbName = QStringLiteral("Label21");
        layout.thumbLeft = 2430;
        layout.upName = QStringLiteral("Image2");
        layout.upLeft = 2445;
        layout.upTop = 1440;
        layout.downName = QStringLiteral("Image3");
        layout.downLeft = 2430;
        layout.downTop = 7680;
        layout.rules = PatternListRules();
        list = new NameList(&window, QStringLiteral("Label4"), layout, [this](int position) {
            return position < names ? QStringLiteral("调%1").arg(position) : QString();
        });
    }
};

TEST(NameList, ThumbDraggedByTheMouseScrollsTheLabels)
{
    PatternList pattern;
    QWidget &window = pattern.window;
    NameList &list = *pattern.list;
    list.Reload(30);
    QLabel *thumb = window.findChild<QLabel *>(QStringLiteral("Label21"));
    ASSERT_EQ(thumb, list.Thumb());
    EXPECT_EQ(thumb->geometry(), TwRect(2430, 1665, 180, 180));
    EXPECT_EQ(window.findChild<QLabel *>(QStringLiteral("Label4_19"))->geometry(), TwRect(1080, 7380, 1200, 255));

    versilo::testing::Send(thumb, QEvent::MouseButtonPress, QPoint(4, 4));
    versilo::testing::Send(thumb, QEvent::MouseMove, QPoint(4, 4 + 20));   // 300 twips down
    versilo::testing::Send(thumb, QEvent::MouseButtonRelease, QPoint(4, 24));
    EXPECT_DOUBLE_EQ(list.Scroll().ThumbTop(), 1965);
    EXPECT_EQ(list.Start(), 1);   // 300 x 30 / 5600
    EXPECT_EQ(list.Label(0)->text(), QStringLiteral("调1"));
    versilo::testing::Send(thumb, QEvent::MouseMove, QPoint(4, 200));   // released: nothing moves
    EXPECT_EQ(list.Start(), 1);

    QTest::mouseClick(list.DownArrow(), Qt::LeftButton);
    EXPECT_EQ(list.Label(0)->text(), QStringLiteral("调2"));
    EXPECT_EQ(list.Label(19)->text(), QStringLiteral("调21"));
    int clicked = -1;
    QObject::connect(&list, &NameList::clicked, [&](int i) { clicked = i; });
    QTest::mouseClick(list.Label(3), Qt::LeftButton);
    EXPECT_EQ(list.PositionOf(clicked), 5);
}

// The list by keyboard alone: Tab and the arrows over the entries, the list
// scrolled by one at its first and last label, Enter choosing.
TEST(NameList, KeysMoveTheFocusScrollAtTheEdgesAndChoose)
{
    PatternList pattern;
    NameList &list = *pattern.list;
    list.Reload(30);
    pattern.window.show();
    QApplication::setActiveWindow(&pattern.window);
    int chosen = -1;
    QObject::connect(&list, &NameList::clicked, [&](int i) { chosen = list.PositionOf(i); });
    list.Label(0)->setFocus();

    const struct {
        int key;
        int times;
        int label;    // focused afterwards
        int start;    // the list position on label 0
        int chosen;   // the position chosen, or -1
    } cases[] = {
        {Qt::Key_Down, 1, 1, 0, -1},   {Qt::Key_Tab, 1, 2, 0, -1},    {Qt::Key_Return, 1, 2, 0, 2},
        {Qt::Key_End, 1, 19, 0, -1},   {Qt::Key_Down, 2, 19, 2, -1},  {Qt::Key_Up, 1, 18, 2, -1},
        {Qt::Key_Enter, 1, 18, 2, 20}, {Qt::Key_Home, 1, 0, 2, -1},   {Qt::Key_Up, 3, 0, 0, -1},
        {Qt::Key_End, 1, 19, 0, -1},   {Qt::Key_Down, 11, 19, 10, -1}, {Qt::Key_Space, 1, 19, 10, 29},
    };
    for (const auto &c : cases) {
        chosen = -1;
        for (int i = 0; i < c.times; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(c.key));
        EXPECT_EQ(QApplication::focusWidget(), list.Label(c.label)) << c.key << " x" << c.times;
        EXPECT_EQ(list.Start(), c.start) << c.key << " x" << c.times;
        EXPECT_EQ(chosen, c.chosen) << c.key << " x" << c.times;
    }
    EXPECT_EQ(list.Thumb()->y(), Px(1665 + 10 * 8520.0 / 30));   // the thumb went along, ten steps down

    // Five names: the focus leaves the emptied labels, Tab passes them by.
    pattern.names = 5;
    list.Reload(5);
    EXPECT_EQ(QApplication::focusWidget(), list.Label(4));
    QTest::keyClick(list.Label(4), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), list.Label(0));
    QTest::keyClick(list.Label(0), Qt::Key_End);
    QTest::keyClick(list.Label(4), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), list.Label(4));
    EXPECT_EQ(list.Start(), 0);
}

}  // namespace
