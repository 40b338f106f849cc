// SPDX-License-Identifier: GPL-3.0-or-later
// A data window whose list pages through a label grid with the picture
// buttons 上一页 (Image5), 下一页 (Image4) and 放弃返回 (Image6): the pattern
// browser, the works browser, works management.
#pragma once

#include <vector>

#include "datawindow.h"
#include "labelgrid.h"

namespace versilo {

// The row at a list position, or an empty row past the end.
template <class Row> Row RowAt(const std::vector<Row> &rows, int position)
{
    return position >= 0 && position < int(rows.size()) ? rows[size_t(position)] : Row();
}

class PagedWindow : public DataWindow {
    Q_OBJECT
public:
    PagedWindow(const QString &name, double widthTwips, double heightTwips, QWidget *parent = nullptr);

    int PageStart() const { return grid_->Paging().Start(); }

    void Image4_Click() { grid_->Next(); }       // 下一页
    void Image5_Click() { grid_->Previous(); }   // 上一页
    virtual void Image6_Click() { CloseWindow(); }   // 放弃返回

protected:
    // The grid of the list (step: its size minus one); a click on label i
    // calls ListClick(i).
    PagedGrid *AddGrid(const QString &name, const GridLayout &layout, PagedGrid::TextAt text);
    virtual void ListClick(int index) = 0;
    // The three buttons in one row at `top`.
    struct ButtonRow {
        double top;
        double previousLeft;
        double nextLeft;
        double closeLeft;
        bool closePressedLook = true;
    };
    void AddPagingButtons(const ButtonRow &row);

    PagedGrid *grid_ = nullptr;
};

}  // namespace versilo
