#include "form3.h"

#include "appcontext.h"
#include "art.h"
#include "datastore.h"
#include "gateway.h"
#include "form1.h"
#include "patternbooks.h"
#include "prosody.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

namespace {

// The tune a work was written to: the pattern book named by the first work
// of this title, and there the tune of this name. Nothing found (or a book
// name that is not one of the two books) gives an empty tune.
TuneRow FindWorkTune(Recordset &rs, const QString &title, const QString &tuneName)
{
    WorkRow first;
    ReadFirst(rs, QStringLiteral("select *from 作品 where 篇名=?"), {title}, first);
    TuneRow tune;
    FindTune(rs, first.patternBook, tuneName, tune);
    return tune;
}

}  // namespace

Form3::Form3(QWidget *parent) : VersiloWindow(QStringLiteral("Form3"), 13095, 8775, parent)
{
    SetFollowers({QStringLiteral("Form1")});

    auto *image7 = new BackgroundPicture(QStringLiteral("Image7"), WindowBackground(TwSize(13095, 8775)), this);
    image7->setGeometry(TwRect(0, 0, 13095, 8775));

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

    auto *image5 = new PictureButton(QStringLiteral("Image5"), QStringLiteral("上一页"),
                                     PictureButton::Orientation::Horizontal, this);
    image5->setGeometry(TwRect(8280, 7800, 1305, 405));
    auto *image4 = new PictureButton(QStringLiteral("Image4"), QStringLiteral("下一页"),
                                     PictureButton::Orientation::Horizontal, this);
    image4->setGeometry(TwRect(9720, 7800, 1305, 405));
    auto *image6 = new PictureButton(QStringLiteral("Image6"), QStringLiteral("放弃返回"),
                                     PictureButton::Orientation::Horizontal, this, false);
    image6->setGeometry(TwRect(11160, 7800, 1305, 405));
    connect(image4, &PictureButton::clicked, this, &Form3::Image4_Click);
    connect(image5, &PictureButton::clicked, this, &Form3::Image5_Click);
    connect(image6, &PictureButton::clicked, this, &Form3::Image6_Click);

    Load();
}

void Form3::Load()
{
    ConnectAndPlace();
    ReadAll(AppContext::Instance().Store().Rs(), QStringLiteral("select *from 作品"), {}, works_);
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

void Form3::Image6_Click() { AppContext::Instance().Windows().Close(QStringLiteral("Form3")); }

void Form3::Label4_Click(int index)
{
    AppContext &app = AppContext::Instance();
    const QString title = index >= 0 && index < kLabels ? label4_->Label(index)->text() : QString();
    Form1 *form1 = app.Windows().Get<Form1>(QStringLiteral("Form1"));
    if (!title.isEmpty() && form1) {
        const WorkRow work = WorkAt(label4_->PositionOf(index));
        form1->SetText(QStringLiteral("Text2"), QString());
        form1->SetText(QStringLiteral("Text4"), title);
        form1->SetCaption(QStringLiteral("Label1"), work.tuneName);
        form1->SetText(QStringLiteral("Text2"), PoemDisplayForm(work.poem));
        const TuneRow tune = FindWorkTune(app.Store().Rs(), title, work.tuneName);
        form1->ShowTune(tune.name, tune.pattern, tune.explanation);
    }
    app.Windows().Close(QStringLiteral("Form3"));
}

}  // namespace versilo
