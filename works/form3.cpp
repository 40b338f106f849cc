#include "form3.h"

#include "art.h"
#include "form1.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

Form3::Form3(QWidget *parent) : DataWindow(window::kWorksBrowser, 13095, 8775, parent)
{
    SetFollowers({window::kCompose});
    AddBackground(QStringLiteral("Image7"));

    auto *image1 = new ClickLabel(QStringLiteral("Image1"), this);   // keeps the mouse, does nothing
    image1->setGeometry(TwRect(840, 7740, 525, 525));
    image1->setPixmap(SealArt(TwSize(525, 525), QStringLiteral("作品")));

    // Four columns of 20 titles, filled top to bottom.
    GridLayout grid;
    grid.columns = 4;
    grid.rows = 20;
    grid.lefts = {840, 3720, 6600, 9600};
    grid.top = 600;
    grid.rowStep = (7275.0 - 600.0) / 19.0;
    grid.width = 2805;
    grid.height = 315;
    grid.grey = true;
    label4_ = new PagedGrid(this, QStringLiteral("Label4"), grid, kPageStep,
                            [this](int position) { return WorkAt(position).title; });
    connect(label4_, &PagedGrid::clicked, this, &Form3::Label4_Click);

    AddButton(QStringLiteral("Image5"), QStringLiteral("上一页"), 8280, 7800, [this] { Image5_Click(); });
    AddButton(QStringLiteral("Image4"), QStringLiteral("下一页"), 9720, 7800, [this] { Image4_Click(); });
    AddButton(QStringLiteral("Image6"), QStringLiteral("放弃返回"), 11160, 7800, [this] { Image6_Click(); }, false);

    Load();
}

void Form3::Reload()
{
    ReadAll(Rs(), QStringLiteral("select *from 作品"), {}, works_);
    label4_->Reload(WorkCount());
}

WorkRow Form3::WorkAt(int position) const
{
    if (position >= 0 && position < int(works_.size()))
        return works_[position];
    return {};
}

void Form3::Image4_Click() { label4_->Next(); }

void Form3::Image5_Click() { label4_->Previous(); }

void Form3::Image6_Click() { CloseWindow(); }

void Form3::Label4_Click(int index)
{
    const QString title = index >= 0 && index < kLabels ? label4_->Label(index)->text() : QString();
    Form1 *form1 = Form1::Find();
    if (!title.isEmpty() && form1) {
        const WorkRow work = WorkAt(label4_->PositionOf(index));
        form1->PutWorkBack(title, work.poem, work.tuneName);
    }
    CloseWindow();
}

}  // namespace versilo
