#include "form3.h"

#include "art.h"
#include "form1.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

Form3::Form3(QWidget *parent) : PagedWindow(window::kWorksBrowser, 13095, 8775, parent)
{
    SetFollowers({window::kCompose});
    AddBackground(QStringLiteral("Image7"));

    auto *image1 = new ClickLabel(QStringLiteral("Image1"), this);   // keeps the mouse, does nothing
    image1->setGeometry(TwRect(840, 7740, 525, 525));
    image1->setPixmap(SealArt(TwSize(525, 525), QStringLiteral("作品")));

    // Four columns of 20 titles, filled top to bottom.
    AddGrid(QStringLiteral("Label4"),
            {4, 20, {840, 3720, 6600, 9600}, 600, (7275.0 - 600.0) / 19.0, 2805, 315, true, true},
            [this](int position) { return RowAt(works_, position).title; });
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
    const QString title = label ? label->text() : QString();
    Form1 *form1 = Form1::Find();
    if (!title.isEmpty() && form1) {
        const WorkRow work = RowAt(works_, grid_->PositionOf(index));
        form1->PutWorkBack(title, work.poem, work.tuneName);
    }
    CloseWindow();
}

}  // namespace versilo
