// SPDX-License-Identifier: GPL-3.0-or-later
#include "form2.h"

#include "appcontext.h"
#include "form1.h"
#include "patternbooks.h"
#include "tunetext.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

namespace {

const QString kEmptyName = QStringLiteral("------");

}  // namespace

Form2::Form2(QWidget *parent) : PagedWindow(window::kPatternBrowser, 13095, 8775, parent)
{
    SetFollowers({window::kCompose});
    AddBackground(QStringLiteral("Image1"));
    // Four columns of 18 names, filled top to bottom, the rows from top 360 to top 7560.
    AddGrid(QStringLiteral("Label5"),
            {4, 18, {360, 3480, 6600, 9720}, 360, (7560.0 - 360.0) / 17.0, 3015, 360, true, true},
            [this](int position) { return RowAt(tunes_, position).name; });

    label1_ = new ClickLabel(QStringLiteral("Label1"), this);
    label1_->setGeometry(TwRect(360, 7980, 3015, 405));
    label1_->setFont(SongFont(10.5));
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    AddPagingButtons({7980, 8280, 9720, 11160});
    grid_->PlacePageIndicator(5400, 7980, 2700, 405);   // left of 上一页
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
    grid_->Reload(PatternCount(), [this](int position) {
        const QString name = RowAt(tunes_, position).name;
        return name.isEmpty() ? kEmptyName : name;
    });
}

void Form2::Label5_Click(int index)
{
    ClickLabel *label = grid_->Label(index);
    if (label && !label->text().isEmpty()) {
        if (Form1 *form1 = Form1::Find()) {
            // Every stored line is shown, the last one too when it was
            // typed without a Return after it.
            TuneRow tune = RowAt(tunes_, grid_->PositionOf(index));
            tune.pattern = TerminatedTuneText(tune.pattern);
            tune.explanation = TerminatedTuneText(tune.explanation);
            form1->ShowTune(tune);
        }
    }
    CloseWindow();
}

}  // namespace versilo
