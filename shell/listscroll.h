// SPDX-License-Identifier: GPL-3.0-or-later
// The scrolling of a list shown on a column of labels, with a thumb beside
// it and arrows above and below: the list start and the thumb top (twips),
// without widgets. Each window brings its own constants and its own rule
// for the list start a dragged thumb stands for.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace versilo {

struct ScrollRules {
    double resetTop = 0;      // thumb top after a reload
    // Arrows: per entry the thumb moves step / count, within these tops.
    double upStep = 0;
    double upMinTop = 0;
    double downStep = 0;
    double downMaxTop = 0;
    // Drag: the thumb top stays within these bounds ...
    double dragMin = 0;
    double dragMax = 0;
    // ... and stands for this list start (count > 0 when asked).
    std::function<int(double top, int count)> startAt;
    // A drag does nothing while the list is empty.
    bool dragNeedsEntries = true;
    // Arrows that keep the list in view, when keepInView > 0 (instead of the
    // thumb steps above): one entry back or on, never before the top nor past
    // the start that shows the last entry on the last of keepInView labels;
    // after a move the thumb stands at thumbAt(start, count).
    int keepInView = 0;
    std::function<double(int start, int count)> thumbAt;
};

// The list start after a drag as most windows reckon it: the whole part of
// (top - min) x count / span.
inline std::function<int(double, int)> LinearStart(double min, double span)
{
    return [min, span](double top, int count) { return int(std::floor((top - min) * count / span)); };
}

// Where the thumb stands for a list start under LinearStart(min, span): the
// first top that shows it.
inline std::function<double(int, int)> LinearThumb(double min, double span)
{
    return [min, span](int start, int count) {
        return count > 0 && start > 0 ? min + std::ceil(double(start) * span / count) : min;
    };
}

class ListScroll {
public:
    explicit ListScroll(ScrollRules rules) : rules_(std::move(rules)), thumbTop_(rules_.resetTop) {}

    const ScrollRules &Rules() const { return rules_; }
    int Start() const { return start_; }
    int Count() const { return count_; }
    double ThumbTop() const { return thumbTop_; }
    int At(int index) const { return start_ + index; }

    // A list read afresh: at the top, the thumb at its reset top (or `thumbTop`).
    void Reset(int count) { Reset(count, rules_.resetTop); }
    void Reset(int count, double thumbTop)
    {
        count_ = count;
        start_ = 0;
        thumbTop_ = thumbTop;
    }

    // Up arrow: one entry back, never before the top; the thumb up by its
    // step, not above the lowest top. An empty list leaves the thumb.
    void Up()
    {
        if (rules_.keepInView > 0) {
            if (start_ > 0)
                MoveInView(start_ - 1);
            return;
        }
        start_ = std::max(0, start_ - 1);
        if (count_ > 0)
            thumbTop_ = std::max(rules_.upMinTop, thumbTop_ - rules_.upStep / count_);
    }
    // Down arrow: the thumb down by its step; past the highest top it stops
    // there and the list stays, otherwise the list moves one entry on. An
    // empty list leaves the thumb and still moves on.
    void Down()
    {
        if (rules_.keepInView > 0) {
            if (start_ + rules_.keepInView < count_)
                MoveInView(start_ + 1);
            return;
        }
        if (count_ > 0)
            thumbTop_ += rules_.downStep / count_;
        if (thumbTop_ > rules_.downMaxTop)
            thumbTop_ = rules_.downMaxTop;
        else
            ++start_;
    }
    // The thumb dragged to `top`: kept within the drag bounds, and the list
    // start follows. False when nothing moved (an empty list).
    bool DragTo(double top)
    {
        if (rules_.dragNeedsEntries && count_ <= 0)
            return false;
        thumbTop_ = std::clamp(top, rules_.dragMin, rules_.dragMax);
        start_ = rules_.startAt ? std::max(0, rules_.startAt(thumbTop_, count_)) : 0;
        return true;
    }

private:
    void MoveInView(int start)
    {
        start_ = start;
        if (rules_.thumbAt)
            thumbTop_ = std::clamp(rules_.thumbAt(start_, count_), rules_.dragMin, rules_.dragMax);
    }

    ScrollRules rules_;
    int start_ = 0;
    int count_ = 0;
    double thumbTop_ = 0;
};

}  // namespace versilo
