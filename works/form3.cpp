// SPDX-License-Identifier: GPL-3.0-or-later
#include "form3.h"

#include "art.h"
#include "form1.h"
#include "prosody.h"
#include "twips.h"
#include "windowregistry.h"
#include "works.h"

namespace versilo {

Form3::Form3(QWidget *parent) : PagedWindow(window::kWorksBrowser, 13095, 8775, parent)
{
    SetFollowers({window::kCompose});
    AddBackground(QStringLiteral("Image7"));

    auto *image1 = new ClickLabel(QStringLiteral("Image1"), this);   // keeps the mouse, does nothing
    image1->setGeometry(TwRect(840, 7740, 525, 525));
    image1->setPixmap(SealArt(TwSize(525, 525), QStringLiteral("作品")));
    image1->setAccessibleName(QStringLiteral("作品"));   // the seal's words, for a screen reader

    // Four columns of 20 titles, filled top to bottom.
    AddGrid(QStringLiteral("Label4"),
            {4, 20, {840, 3720, 6600, 9600}, 600, (7275.0 - 600.0) / 19.0, 2805, 315, true, true},
            [this](int position) {
                return position < WorkCount() ? ListedTitle(RowAt(works_, position).title) : QString();
            });
    AddPagingButtons({7800, 8280, 9720, 11160, false});
    grid_->PlacePageIndicator(5400, 7800, 2700, 405);   // left of 上一页
    Load();
}

void Form3::Reload()
{
    ReadAll(Rs(), QStringLiteral("select *from 作品"), {}, works_);
    grid_->Reload(WorkCount());
}

void Form3::Label4_Click(int index)
{
    ClickLabel *label = grid_->Label(index);
    Form1 *form1 = Form1::Find();
    if (label && !label->text().isEmpty() && form1) {
        const WorkRow work = RowAt(works_, grid_->PositionOf(index));
        // Unsaved writing goes only when the writer agrees; No keeps it, and
        // the browser stays open for another choice or 放弃返回.
        if (!form1->MayReplace({work.title, PoemFromStored(work.poem)}))
            return;
        form1->PutWorkBack(work.title, work.poem, work.tuneName);
    }
    CloseWindow();
}

}  // namespace versilo
