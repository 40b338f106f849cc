// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagedwindow.h"

namespace versilo {

PagedWindow::PagedWindow(const QString &name, double widthTwips, double heightTwips, QWidget *parent)
    : DataWindow(name, widthTwips, heightTwips, parent)
{
}

PagedGrid *PagedWindow::AddGrid(const QString &name, const GridLayout &layout, PagedGrid::TextAt text)
{
    grid_ = new PagedGrid(this, name, layout, layout.columns * layout.rows - 1, std::move(text));
    connect(grid_, &PagedGrid::clicked, this, [this](int index) { ListClick(index); });
    return grid_;
}

void PagedWindow::AddPagingButtons(const ButtonRow &row)
{
    AddButton(QStringLiteral("Image5"), QStringLiteral("上一页"), row.previousLeft, row.top, [this] { Image5_Click(); });
    AddButton(QStringLiteral("Image4"), QStringLiteral("下一页"), row.nextLeft, row.top, [this] { Image4_Click(); });
    AddButton(QStringLiteral("Image6"), QStringLiteral("放弃返回"), row.closeLeft, row.top,
              [this] { Image6_Click(); }, row.closePressedLook);
}

}  // namespace versilo
