#include "form9.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <algorithm>

#include "appcontext.h"
#include "dialogs.h"
#include "form1.h"
#include "management.h"
#include "prosody.h"
#include "textbox.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

namespace {

QLabel *Heading(const QString &name, const QString &text, double top, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(SongFont(10.5));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(TwRect(9840, top, 480, 375));
    return label;
}

QLineEdit *Field(const QString &name, double top, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFont(SongFont(10.5));
    box->setGeometry(TwRect(10320, top, 2295, 375));
    return box;
}

}  // namespace

Form9::Form9(QWidget *parent) : PagedWindow(window::kWorksManager, 13095, 8775, parent)
{
    AddBackground(QStringLiteral("Image7"));

    // Four columns of 20 titles, filled top to bottom.
    GridLayout grid;
    grid.columns = 4;
    grid.rows = 20;
    grid.lefts = {840, 3120, 5400, 7560};
    grid.top = 720;
    grid.rowStep = (7395.0 - 720.0) / 19.0;
    grid.width = 1995;
    grid.height = 315;
    grid.grey = true;
    AddGrid(QStringLiteral("Label4"), grid, [this](int position) { return RowAt(works_, position).title; });

    Heading(QStringLiteral("Label3"), QStringLiteral("作者"), 720, this);
    Heading(QStringLiteral("Label5"), QStringLiteral("时间"), 1200, this);
    Heading(QStringLiteral("Label8"), QStringLiteral("标题"), 1680, this);
    text2_ = Field(QStringLiteral("Text2"), 720, this);
    text3_ = Field(QStringLiteral("Text3"), 1200, this);
    text6_ = Field(QStringLiteral("Text6"), 1680, this);
    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFont(SongFont(12));
    text1_->setGeometry(TwRect(9840, 2160, 2775, 5535));
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    AddButton(QStringLiteral("Image9"), QStringLiteral("诗词写作"), 840, 7920, [this] { Image9_Click(); }, false);
    AddButton(QStringLiteral("Image8"), QStringLiteral("加入诗词库"), 2580, 7920, [this] { Image8_Click(); }, false);
    AddButton(QStringLiteral("Image3"), QStringLiteral("修改作品"), 4320, 7920, [this] { Image3_Click(); }, false);
    AddButton(QStringLiteral("Image2"), QStringLiteral("删除作品"), 6060, 7920, [this] { Image2_Click(); });
    AddPagingButtons({7920, 7800, 9540, 11280});

    Load();
}

void Form9::Reload()
{
    ReadAll(Rs(), QStringLiteral("select *from 作品"), {}, works_);
    grid_->Reload(WorkCount());
}

void Form9::ClearFields()
{
    chosenId_.reset();
    for (QLineEdit *box : {text6_, text2_, text3_})
        SetBoxText(box, QString());
    SetBoxText(text1_, QString());
}

void Form9::Label4_Click(int index)
{
    const QString title = index >= 0 && index < kLabels ? grid_->Label(index)->text() : QString();
    if (title.isEmpty())
        return;
    const WorkRow work = RowAt(works_, grid_->PositionOf(index));
    SetBoxText(text6_, title);
    SetBoxText(text2_, work.author);
    SetBoxText(text3_, work.time);
    SetBoxText(text1_, PoemFromStored(work.poem));
    chosenId_ = work.id;
    // The composition window, hidden until 诗词写作 shows it, gets the work
    // and its tune.
    if (Form1 *form1 = Form1::FindOrCreate())
        form1->PutWorkBack(title, work.poem, work.tuneName);
}

void Form9::Image3_Click()
{
    Dialogs &dialogs = App().Dialog();
    if (!chosenId_) {
        dialogs.Tell(kNoWorkChosen);
        return;
    }
    const WorkFields fields{BoxText(text6_), BoxText(text2_), BoxText(text3_), BoxText(text1_)};
    auto it = std::find_if(works_.begin(), works_.end(), [this](const WorkRow &w) { return w.id == *chosenId_; });
    WorkRow row = it != works_.end() ? *it : WorkRow{};
    QString error;
    if (!ChangeWork(Rs(), *chosenId_, fields, row, &error)) {
        dialogs.Tell(kChangeFailed + error);
        return;
    }
    // The window's list follows the stored work, so choosing it again shows
    // what was saved.
    if (it != works_.end())
        *it = row;
    grid_->Show();
    if (Form1 *form1 = Form1::FindOrCreate())
        form1->SetWork(fields.title, fields.poem);
    dialogs.Tell(kWorkChanged);
}

void Form9::Image2_Click()
{
    if (BoxText(text6_).isEmpty() || !chosenId_)
        return;
    QString error;
    if (!DeleteRow(Rs(), kWorksTable, *chosenId_, &error) && !error.isEmpty()) {
        App().Dialog().Tell(kDeleteFailed + error);
        return;
    }
    // Deleted, or gone already: the list is read afresh either way.
    Reload();
    ClearFields();
}

void Form9::Image8_Click()
{
    const LibraryAdd added =
        AddToLibrary(Rs(), WorkFields{BoxText(text6_), BoxText(text2_), BoxText(text3_), BoxText(text1_)});
    if (added.poemAdded && added.error.isEmpty())
        App().Dialog().Tell(kAddedToLibrary);
    else if (added.poemAdded)
        App().Dialog().Tell(QStringLiteral("诗词已加入诗词库，但") + added.error);
    else
        App().Dialog().Tell(kLibraryFailed + added.error);
}

void Form9::Image9_Click()
{
    const QString title = BoxText(text6_);
    const QString poem = BoxText(text1_);
    WindowRegistry &windows = App().Windows();
    Form1 *form1 = Form1::FindOrCreate();
    if (form1) {
        form1->SetWork(title, poem);
        if (QWidget *launcher = windows.Launcher())
            form1->move(launcher->pos());
    }
    CloseWindow();
    windows.Show(window::kCompose);
}

void Form9::mousePressEvent(QMouseEvent *e)
{
    pressedAt_ = pos();
    PagedWindow::mousePressEvent(e);
}

void Form9::mouseReleaseEvent(QMouseEvent *e)
{
    PagedWindow::mouseReleaseEvent(e);
    const bool dragged = (pos() - pressedAt_).manhattanLength() >= QApplication::startDragDistance();
    if (e->button() == Qt::LeftButton && !dragged && rect().contains(e->position().toPoint()))
        CloseWindow();
}

}  // namespace versilo
