#include "form2.h"

#include "appcontext.h"
#include "art.h"
#include "datastore.h"
#include "gateway.h"
#include "form1.h"
#include "patternbooks.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

namespace {

const QString kEmptyName = QStringLiteral("------");

}  // namespace

Form2::Form2(QWidget *parent) : VersiloWindow(QStringLiteral("Form2"), 13095, 8775, parent)
{
    SetFollowers({QStringLiteral("Form1")});

    auto *background = new BackgroundPicture(QStringLiteral("Image1"), WindowBackground(TwSize(13095, 8775)), this);
    background->setGeometry(TwRect(0, 0, 13095, 8775));

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

    auto *image5 = new PictureButton(QStringLiteral("Image5"), QStringLiteral("上一页"),
                                     PictureButton::Orientation::Horizontal, this);
    image5->setGeometry(TwRect(8280, 7980, 1305, 405));
    auto *image4 = new PictureButton(QStringLiteral("Image4"), QStringLiteral("下一页"),
                                     PictureButton::Orientation::Horizontal, this);
    image4->setGeometry(TwRect(9720, 7980, 1305, 405));
    auto *image6 = new PictureButton(QStringLiteral("Image6"), QStringLiteral("放弃返回"),
                                     PictureButton::Orientation::Horizontal, this);
    image6->setGeometry(TwRect(11160, 7980, 1305, 405));
    connect(image4, &PictureButton::clicked, this, &Form2::Image4_Click);
    connect(image5, &PictureButton::clicked, this, &Form2::Image5_Click);
    connect(image6, &PictureButton::clicked, this, &Form2::Image6_Click);

    Load();
}

void Form2::Load()
{
    ConnectAndPlace();
    AppContext &app = AppContext::Instance();
    const QString book = app.patternBook;
    label1_->setText(book);
    tunes_.clear();

    // The book name is the table name; only the two books are tables.
    if (IsPatternBook(book))
        ReadAll(app.Store().Rs(), QStringLiteral("select *from ") + book, {}, tunes_);
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

void Form2::Image6_Click() { AppContext::Instance().Windows().Close(QStringLiteral("Form2")); }

void Form2::Label5_Click(int index)
{
    AppContext &app = AppContext::Instance();
    if (index >= 0 && index < kLabels && !label5_->Label(index)->text().isEmpty()) {
        const TuneRow tune = TuneAt(label5_->PositionOf(index));
        if (Form1 *form1 = app.Windows().Get<Form1>(QStringLiteral("Form1")))
            form1->ShowTune(tune.name, tune.pattern, tune.explanation);
    }
    app.Windows().Close(QStringLiteral("Form2"));
}

}  // namespace versilo
