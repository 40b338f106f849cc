// SPDX-License-Identifier: GPL-3.0-or-later
// The works browser: the titles of all stored works, 80 to a page; a click
// puts the work back into the composition window, with its tune's pattern
// fetched afresh from the pattern book it was written to, and closes.
#pragma once

#include "gateway.h"
#include "pagedwindow.h"

namespace versilo {

class Form3 : public PagedWindow {
    Q_OBJECT
public:
    explicit Form3(QWidget *parent = nullptr);
    void Label4_Click(int index);

    static constexpr int kLabels = 80;
    static constexpr int kPageStep = kLabels - 1;   // consecutive pages share one title
    int WorkCount() const { return int(works_.size()); }

protected:
    void Reload() override;
    void ListClick(int index) override { Label4_Click(index); }

private:
    std::vector<WorkRow> works_;
};

}  // namespace versilo
