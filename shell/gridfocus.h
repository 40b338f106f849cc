// SPDX-License-Identifier: GPL-3.0-or-later
// Where the keyboard focus goes in a grid of list labels. No widgets: the
// grid says its shape and which labels hold an entry.
#pragma once

#include <functional>

namespace versilo {

enum class GridMove { Up, Down, Left, Right, First, Last };

struct GridShape {
    int columns = 1;
    int rows = 1;
    bool columnMajor = true;   // indexes fill a column top to bottom first
    int Size() const { return columns * rows; }
};

// The label the focus moves to from label `from`, or `from` when there is
// nowhere to go. Moving along the reading order (down a column-major grid,
// right along a row-major one) runs on into the next column or row; moving
// across it stops at the edge. Labels without an entry are never chosen:
// an arrow towards one stays. First and Last go to the first and the last
// entry of the page; from -1 (nothing focused) every move starts at the
// first entry.
inline int MoveInGrid(int from, GridMove move, const GridShape &shape,
                      const std::function<bool(int)> &isEntry)
{
    const int size = shape.Size();
    auto entry = [&](int i) { return i >= 0 && i < size && isEntry(i); };
    auto first = [&] {
        for (int i = 0; i < size; ++i)
            if (entry(i))
                return i;
        return -1;
    };
    auto last = [&] {
        for (int i = size - 1; i >= 0; --i)
            if (entry(i))
                return i;
        return -1;
    };
    if (from < 0 || from >= size)
        return move == GridMove::Last ? last() : first();

    // One step along the reading order, and one across it.
    const int along = 1;
    const int across = shape.columnMajor ? shape.rows : shape.columns;
    int to = from;
    switch (move) {
    case GridMove::First:
        return first();
    case GridMove::Last:
        return last();
    case GridMove::Down:
        to = shape.columnMajor ? from + along : from + across;
        break;
    case GridMove::Up:
        to = shape.columnMajor ? from - along : from - across;
        break;
    case GridMove::Right:
        to = shape.columnMajor ? from + across : from + along;
        break;
    case GridMove::Left:
        to = shape.columnMajor ? from - across : from - along;
        break;
    }
    return entry(to) ? to : from;
}

}  // namespace versilo
