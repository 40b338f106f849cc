// SPDX-License-Identifier: GPL-3.0-or-later
// Paging through a list that is shown on a fixed number of labels. No
// widgets: the window asks At(i) for the list position of label i.
#pragma once

#include <algorithm>

namespace versilo {

class Pager {
public:
    // A page shows `step` + 1 entries as a rule, so consecutive pages share one.
    explicit Pager(int step) : step_(std::max(1, step)) {}

    int Start() const { return start_; }
    int Step() const { return step_; }
    int Count() const { return count_; }
    // The list position shown by label `index` of the page.
    int At(int index) const { return start_ + index; }
    // 1 for the first page; one more for each step.
    int PageNumber() const { return start_ / step_ + 1; }
    // How many pages the list fills when a page shows `pageSize` entries
    // (1 for an empty list); a page reached by paging that still shows an
    // entry counts too. The empty page past the end is no page of the list.
    int PageCount(int pageSize) const
    {
        int pages = 1;
        if (count_ > pageSize)
            pages += (count_ - pageSize + step_ - 1) / step_;
        // Paging only leaves a page that shows an entry, so past the end
        // the page before still counts.
        return std::max(pages, PastTheEnd() ? PageNumber() - 1 : PageNumber());
    }
    // The page shown starts after the last entry: it shows nothing.
    bool PastTheEnd() const { return start_ > 0 && start_ >= count_; }

    // A list read afresh: its count, shown from the top.
    void Reset(int count)
    {
        count_ = count;
        start_ = 0;
    }
    // The same list read again: the page stays.
    void SetCount(int count) { count_ = count; }

    // One page on while the page start lies before the end of the list, so
    // one page past the last entry can be reached (it shows nothing).
    bool Next()
    {
        if (start_ >= count_)
            return false;
        start_ += step_;
        return true;
    }
    // One page back, never before the top.
    bool Previous()
    {
        if (start_ <= 0)
            return false;
        start_ = std::max(0, start_ - step_);
        return true;
    }

private:
    int step_;
    int start_ = 0;
    int count_ = 0;
};

}  // namespace versilo
