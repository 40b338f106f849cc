// SPDX-License-Identifier: GPL-3.0-or-later
#include "form9.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <algorithm>
#include <limits>

#include "appcontext.h"
#include "dialogs.h"
#include "form1.h"
#include "management.h"
#include "prosody.h"
#include "saving.h"
#include "textbox.h"
#include "twips.h"
#include "windowregistry.h"
#include "works.h"

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
    // Whatever is pasted stays whole: no cut at 32767 characters.
    box->setMaxLength(std::numeric_limits<int>::max());
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
    AddGrid(QStringLiteral("Label4"), grid, [this](int position) {
        return position >= 0 && position < WorkCount() ? ListedTitle(RowAt(works_, position).title) : QString();
    });

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
    boxes_.Text(text6_, &WorkFields::title)
        .Text(text2_, &WorkFields::author)
        .Text(text3_, &WorkFields::time)
        .Text(text1_, &WorkFields::poem);

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

WorkFields Form9::Fields() const { return boxes_.Read(); }

void Form9::ShowFields(const WorkFields &fields)
{
    boxes_.Fill(fields);
    shown_ = Fields();
}

void Form9::ClearFields()
{
    chosenId_.reset();
    ShowFields({});
}

WorkRow *Form9::ChosenWork()
{
    if (!chosenId_)
        return nullptr;
    auto it = std::find_if(works_.begin(), works_.end(), [this](const WorkRow &w) { return w.id == *chosenId_; });
    return it != works_.end() ? &*it : nullptr;
}

bool Form9::MayClose() { return !HasChangedFields() || App().Dialog().Ask(kAskDiscard); }

void Form9::Image6_Click()
{
    if (MayClose())
        CloseWindow();
}

void Form9::Label4_Click(int index)
{
    const QString label = index >= 0 && index < kLabels ? grid_->Label(index)->text() : QString();
    if (label.isEmpty())
        return;
    // Choosing fills the fields: changes typed into them go only when the
    // writer agrees. The composition window is not touched until 诗词写作.
    if (HasChangedFields() && !App().Dialog().Ask(kAskDiscard))
        return;
    const WorkRow work = RowAt(works_, grid_->PositionOf(index));
    ShowFields({work.title, work.author, work.time, PoemFromStored(work.poem)});
    chosenId_ = work.id;
}

void Form9::Image3_Click()
{
    Dialogs &dialogs = App().Dialog();
    if (!chosenId_) {
        dialogs.Tell(kNoWorkChosen);
        return;
    }
    const WorkFields fields = Fields();
    if (IsMissingTitle(fields.title)) {
        dialogs.Tell(kTitleMissing);
        return;
    }
    WorkRow *chosen = ChosenWork();
    WorkRow row = chosen ? *chosen : WorkRow{};
    QString error;
    if (!ChangeWork(Rs(), *chosenId_, fields, row, &error)) {
        dialogs.Tell(kChangeFailed + error);
        return;
    }
    // The window's list follows the stored work, so choosing it again shows
    // what was saved; the fields now hold what is stored.
    if (chosen)
        *chosen = row;
    shown_ = fields;
    grid_->Show();
    // An open composition window takes the changed work, with its tune, when
    // that loses no unsaved writing there or the writer agrees.
    Form1 *form1 = Form1::Find();
    if (form1 && form1->MayReplace({row.title, PoemFromStored(row.poem)}))
        form1->PutWorkBack(row.title, row.poem, row.tuneName);
    dialogs.Tell(kWorkChanged);
}

void Form9::Image2_Click()
{
    if (!chosenId_)
        return;
    if (!App().Dialog().Ask(kAskDeleteWork))
        return;
    QString error;
    const bool deleted = DeleteRow(Rs(), kWorksTable, *chosenId_, &error);
    // Whatever happened, the list shows the table as it now is.
    Reload();
    if (!deleted) {
        if (ChosenWork()) {   // still stored: the delete failed
            App().Dialog().Tell(kDeleteFailed + error);
            return;
        }
        // Another program removed it first: nothing was deleted here.
        App().Dialog().Tell(kWorkAlreadyGone);
    }
    ClearFields();
}

void Form9::Image8_Click()
{
    Dialogs &dialogs = App().Dialog();
    if (!chosenId_) {
        dialogs.Tell(kNoWorkChosen);
        return;
    }
    const WorkFields fields = Fields();
    if (IsMissingTitle(fields.title)) {
        dialogs.Tell(kTitleMissing);
        return;
    }
    const LibraryAdd added = AddToLibrary(Rs(), fields);
    if (added.poemAdded && added.error.isEmpty())
        dialogs.Tell(kAddedToLibrary);
    else if (added.poemAdded)
        dialogs.Tell(QStringLiteral("诗词已加入诗词库，但") + added.error);
    else
        dialogs.Tell(kLibraryFailed + added.error);
}

void Form9::Image9_Click()
{
    Dialogs &dialogs = App().Dialog();
    const WorkFields fields = Fields();
    // Title and poem go on into the composition window; a changed author or
    // time would stay behind.
    if ((fields.author != shown_.author || fields.time != shown_.time) && !dialogs.Ask(kAskDiscard))
        return;
    const Draft next{fields.title, fields.poem};
    if (!Form1::MayReplaceWriting(next))
        return;
    WindowRegistry &windows = App().Windows();
    Form1 *form1 = Form1::FindOrCreate();
    if (form1) {
        // The chosen work as stored, with its tune, then the fields as typed
        // over it: what the writer changed here counts as not yet saved.
        if (const WorkRow *chosen = ChosenWork())
            form1->PutWorkBack(chosen->title, chosen->poem, chosen->tuneName);
        form1->SetWork(next.title, next.poem);
        if (QWidget *launcher = windows.Launcher())
            form1->move(launcher->pos());
    }
    shown_ = fields;   // handed on: nothing left here to lose
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
    if (e->button() == Qt::LeftButton && !dragged && rect().contains(e->position().toPoint()) && MayClose())
        CloseWindow();
}

}  // namespace versilo
