#include "form2.h"

#include "appcontext.h"
#include "art.h"
#include "datastore.h"
#include "form1.h"
#include "patternbooks.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

namespace {

const QString kEmptyName = QStringLiteral("------");

void PaintGrey(QLabel *label)
{
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
}

}  // namespace

Form2::Form2(QWidget *parent) : VersiloWindow(QStringLiteral("Form2"), 13095, 8775, parent)
{
    SetFollowers({QStringLiteral("Form1")});

    auto *background = new BackgroundPicture(QStringLiteral("Image1"), WindowBackground(TwSize(13095, 8775)), this);
    background->setGeometry(TwRect(0, 0, 13095, 8775));

    // Four columns of 18 names, filled top to bottom, the rows from top 360
    // to top 7560.
    const double lefts[4] = {360, 3480, 6600, 9720};
    const double rowStep = (7560.0 - 360.0) / 17.0;
    for (int i = 0; i < kLabels; ++i) {
        auto *label = new ClickLabel(QStringLiteral("Label5_%1").arg(i), this);
        label->setGeometry(TwRect(lefts[i / 18], 360 + rowStep * (i % 18), 3015, 360));
        label->setFont(SongFont(10.5));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setIndent(4);
        PaintGrey(label);
        connect(label, &ClickLabel::clicked, this, [this, i] { Label5_Click(i); });
        label5_.append(label);
    }

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
    pageStart_ = 0;

    // The book name is the table name; only the two books are tables.
    if (IsPatternBook(book)) {
        Recordset &rs = app.Store().Rs();
        if (rs.Open(QStringLiteral("select *from ") + book)) {
            const int count = rs.RecordCount();
            tunes_.reserve(count);
            for (int i = 0; i < count; ++i) {
                tunes_.push_back({rs.Text(QStringLiteral("篇名")), rs.Text(QStringLiteral("格律")),
                                  rs.Text(QStringLiteral("正文"))});
                rs.MoveNext();
            }
        }
        rs.Close();
    }
    ShowPage(true);
}

Form2::Tune Form2::TuneAt(int position) const
{
    if (position >= 0 && position < int(tunes_.size()))
        return tunes_[position];
    return {};
}

void Form2::ShowPage(bool placeholders)
{
    for (int i = 0; i < kLabels; ++i) {
        const QString name = TuneAt(pageStart_ + i).name;
        label5_[i]->setText(name.isEmpty() && placeholders ? kEmptyName : name);
    }
}

void Form2::Image4_Click()
{
    // One page past the last name can be reached; it shows empty labels.
    if (PatternCount() - pageStart_ > 0) {
        pageStart_ += kPageStep;
        ShowPage(false);
    }
}

void Form2::Image5_Click()
{
    pageStart_ = qMax(0, pageStart_ - kPageStep);
    ShowPage(false);
}

void Form2::Image6_Click() { AppContext::Instance().Windows().Close(QStringLiteral("Form2")); }

void Form2::Label5_Click(int index)
{
    AppContext &app = AppContext::Instance();
    if (index >= 0 && index < kLabels && !label5_[index]->text().isEmpty()) {
        const Tune tune = TuneAt(pageStart_ + index);
        if (Form1 *form1 = app.Windows().Get<Form1>(QStringLiteral("Form1")))
            form1->ShowTune(tune.name, tune.pattern, tune.explanation);
    }
    app.Windows().Close(QStringLiteral("Form2"));
}

}  // namespace versilo
