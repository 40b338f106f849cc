// SPDX-License-Identifier: GPL-3.0-or-later
// The pattern browser: the tune names of the current pattern book, 72 to a
// page; a click hands the tune to the composition window and closes.
#pragma once

#include "gateway.h"
#include "pagedwindow.h"

namespace versilo {

class Form2 : public PagedWindow {
    Q_OBJECT
public:
    static constexpr int kLabels = 72;   // pages step by 71: consecutive pages share one name

    explicit Form2(QWidget *parent = nullptr);

    int PatternCount() const { return int(tunes_.size()); }
    void Label5_Click(int index);

protected:
    void Reload() override;
    void ListClick(int index) override { Label5_Click(index); }

private:
    std::vector<TuneRow> tunes_;
    QLabel *label1_ = nullptr;
};

}  // namespace versilo
