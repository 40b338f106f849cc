#include "form2.h"

#include "appcontext.h"
#include "form1.h"
#include "patternbooks.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

namespace {

const QString kEmptyName = QStringLiteral("------");

}  // namespace

Form2::Form2(QWidget *parent) : DataWindow(window::kPatternBrowser, 13095, 8775, parent)
{
    SetFollowers({window::kCompose});
    AddBackground(QStringLiteral("Image1"));

    // Four columns of 18 names, filled top to bottom, the rows from top 360
    // to top 7560.
    GridLayout grid;
    grid.columns = 4;
    grid.rows = 18;
    grid.lefts = {360, 3480, 6600, 9720};
    grid.top = 360;
    grid.rowStep = (7560.0 - 360.0) / 17.0;
    grid.width = 3015;
    grid.height = 360;
    grid.grey = true;
    label5_ = new PagedGrid(this, QStringLiteral("Label5"), grid, kPageStep,
                            [this](int position) { return TuneAt(position).name; });
    connect(label5_, &PagedGrid::clicked, this, &Form2::Label5_Click);

    label1_ = new ClickLabel(QStringLiteral("Label1"), this);
    label1_->setGeometry(TwRect(360, 7980, 3015, 405));
    label1_->setFont(SongFont(10.5));
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    AddButton(QStringLiteral("Image5"), QStringLiteral("上一页"), 8280, 7980, [this] { Image5_Click(); });
    AddButton(QStringLiteral("Image4"), QStringLiteral("下一页"), 9720, 7980, [this] { Image4_Click(); });
    AddButton(QStringLiteral("Image6"), QStringLiteral("放弃返回"), 11160, 7980, [this] { Image6_Click(); });

    Load();
}

void Form2::Reload()
{
    const QString book = App().patternBook;
    label1_->setText(book);
    tunes_.clear();
    // The book name is the table name; only the two books are tables.
    if (IsPatternBook(book))
        ReadAll(Rs(), QStringLiteral("select *from ") + book, {}, tunes_);
    // A name that is empty or missing shows as "------" on the first page only.
    label5_->Reload(PatternCount(), [this](int position) {
        const QString name = TuneAt(position).name;
        return name.isEmpty() ? kEmptyName : name;
    });
}

TuneRow Form2::TuneAt(int position) const
{
    if (position >= 0 && position < int(tunes_.size()))
        return tunes_[position];
    return {};
}

void Form2::Image4_Click() { label5_->Next(); }

void Form2::Image5_Click() { label5_->Previous(); }

void Form2::Image6_Click() { CloseWindow(); }

void Form2::Label5_Click(int index)
{
    if (index >= 0 && index < kLabels && !label5_->Label(index)->text().isEmpty()) {
        if (Form1 *form1 = Form1::Find())
            form1->ShowTune(TuneAt(label5_->PositionOf(index)));
    }
    CloseWindow();
}

}  // namespace versilo
