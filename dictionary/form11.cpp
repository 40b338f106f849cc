// SPDX-License-Identifier: GPL-3.0-or-later
#include "form11.h"

#include <QLineEdit>
#include <QPushButton>

#include "appcontext.h"
#include "dialogs.h"
#include "entryfields.h"
#include "form7.h"
#include "gateway.h"
#include "labelgrid.h"
#include "prosody.h"
#include "twips.h"
#include "windownames.h"

namespace versilo {

namespace {

const QString kNote = QStringLiteral(
    "(平仄：0表示平韵，1表示仄韵，2表示平仄两读。韵调指十九部韵，用1-19表示).");

// The table row of checked entry fields (id 0: a new row).
DictionaryRow RowOf(const EntryFields &fields, qint64 id = 0)
{
    DictionaryRow row;
    row.id = id;
    row.hanzi = fields.hanzi;
    row.tone = fields.tone;
    row.pinyin = fields.pinyin;
    row.group = QString::number(fields.group);
    return row;
}

}  // namespace

Form11::Form11(QWidget *parent) : DataWindow(window::kDictionary, 13095, 8760, parent)
{
    AddBackground(QStringLiteral("Image1"), 13095, 8760);

    GridLayout grid;
    grid.columns = 21;
    grid.rows = 14;
    for (int c = 0; c < grid.columns; ++c)
        grid.lefts << 240 + 600.0 * c;
    grid.top = 720;
    grid.rowStep = 480;
    grid.width = 495;
    grid.height = 375;
    grid.columnMajor = false;
    grid.grey = true;
    grid.fontPoints = 14;
    grid.centred = true;
    grid_ = new PagedGrid(this, QStringLiteral("Label3"), grid, kPageStep, [this](int position) {
        return position >= 0 && position < EntryCount() ? entries_[size_t(position)].hanzi : QString();
    });
    connect(grid_, &PagedGrid::clicked, this, &Form11::Label3_Click);
    grid_->RemovePageIndicator();   // Label1 between the paging buttons tells the page

    auto *note = new QLabel(kNote, this);
    note->setObjectName(QStringLiteral("Label4"));
    note->setGeometry(TwRect(6240, 180, 6615, 480));
    note->setFont(SongFont(9));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    // The entry row: a heading before each box.
    const char *headings[5] = {"ID号", "汉字", "平仄", "拼音", "韵调"};
    const double boxLefts[5] = {2186, 4398, 6850, 9302, 11640};
    const double boxWidths[5] = {975, 1095, 1095, 1095, 1095};
    for (int i = 0; i < 5; ++i) {
        auto *heading = new QLabel(QString::fromUtf8(headings[i]), this);
        heading->setObjectName(QStringLiteral("Label2_%1").arg(i));
        heading->setGeometry(TwRect(boxLefts[i] - 855, 7440, 795, 375));
        heading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        box->setGeometry(TwRect(boxLefts[i], 7410, boxWidths[i], 405));
        text_[i + 1] = box;
    }
    boxes_.Text(text_[1], &EntryBoxes::id)
        .Text(text_[2], &EntryBoxes::hanzi)
        .Text(text_[3], &EntryBoxes::tone)
        .Text(text_[4], &EntryBoxes::pinyin)
        .Text(text_[5], &EntryBoxes::group);
    text_[6] = new QLineEdit(this);
    text_[6]->setObjectName(QStringLiteral("Text6"));
    text_[6]->setGeometry(TwRect(1471, 8040, 615, 375));
    text_[6]->setAlignment(Qt::AlignCenter);
    connect(text_[6], &QLineEdit::returnPressed, this, &Form11::Command9_Click);

    auto button = [this](const char *name, const QString &caption, double left, double width,
                         void (Form11::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(TwRect(left, 8040, width, 375));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    command2_ = button("Command2", kNewRhyme, 240, 1095, &Form11::Command2_Click);
    button("Command9", QStringLiteral("查找汉字"), 2222, 975, &Form11::Command9_Click);
    button("Command1", QStringLiteral("拼音查找"), 3333, 975, &Form11::Command1_Click);
    button("Command3", QStringLiteral("修改"), 4444, 1095, &Form11::Command3_Click);
    button("Command4", QStringLiteral("加入"), 5675, 1095, &Form11::Command4_Click);
    button("Command5", QStringLiteral("删除"), 6906, 1095, &Form11::Command5_Click);
    button("Command6", QStringLiteral("上一页"), 8137, 975, &Form11::Command6_Click);
    button("Command7", QStringLiteral("下一页"), 10524, 975, &Form11::Command7_Click);
    button("Command8", QStringLiteral("返回"), 11640, 1095, &Form11::Command8_Click);

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(TwRect(9248, 8040, 1140, 375));
    label1_->setAlignment(Qt::AlignCenter);

    Load();
}

QString Form11::System() const { return command2_->text(); }

QString Form11::Box(int n) const { return text_[n]->text(); }

void Form11::ShowPageNumber()
{
    label1_->setText(QStringLiteral("第%1页").arg(grid_->Paging().PageNumber()));
}

void Form11::List(const QString &sql, const QVariantList &params, bool keepPage)
{
    // A failed query lists nothing.
    if (!ReadAll(Rs(), sql, params, entries_))
        entries_.clear();
    if (keepPage)
        grid_->SetCount(EntryCount());
    else
        grid_->Reload(EntryCount());
    ShowPageNumber();
}

// The window opens on the keypad's search: with no letters typed, every
// entry of 中华新韵 that has a pinyin.
void Form11::Reload() { PinyinSearch(); }

void Form11::PinyinSearch()
{
    List(QStringLiteral("select *from ") + System() + QStringLiteral(" where 拼音 like ?"),
         {QStringLiteral("%") + App().keypadLetters + QStringLiteral("%")}, false);
}

void Form11::Command9_Click()
{
    List(QStringLiteral("select *from ") + System() + QStringLiteral(" where 汉字 like ?"),
         {QStringLiteral("%") + TrimBlanks(Box(6)) + QStringLiteral("%")}, false);
}

void Form11::ShowEntry(const EntryBoxes &boxes)
{
    boxes_.Fill(boxes);
    shown_ = boxes_.Read();
}

bool Form11::EntryTyped() const
{
    const EntryBoxes now = boxes_.Read();
    return now.id != shown_.id || now.hanzi != shown_.hanzi || now.tone != shown_.tone
           || now.pinyin != shown_.pinyin || now.group != shown_.group;
}

bool Form11::MayClose()
{
    return !EntryTyped() || App().Dialog().Ask(kAskDropEntry);
}

void Form11::Command1_Click()
{
    if (!MayClose())
        return;
    Form7 *keypad = OpenKeypad(this, [this] { PinyinSearch(); });
    ShowEntry({});
    // Above the button, beside the boxes it fills.
    if (keypad)
        keypad->move(mapToGlobal(TwPoint(3333, 8040 - 2580 - 60)));
}

void Form11::Command2_Click()
{
    command2_->setText(System() == kNewRhyme ? kPingshui : kNewRhyme);
    List(QStringLiteral("select *from  ") + System(), {}, false);
}

void Form11::Label3_Click(int index)
{
    if (!MayClose())
        return;
    const int k = grid_->PositionOf(index);
    ShowEntry(k >= 0 && k < EntryCount() ? BoxesOf(entries_[size_t(k)]) : EntryBoxes());
}

void Form11::ListTableAgain() { List(QStringLiteral("select *from ") + System(), {}, true); }

void Form11::Command3_Click()
{
    const EntryBoxes boxes = boxes_.Read();
    QString message;
    const auto id = EntryId(boxes.id, &message);
    if (!id) {
        App().Dialog().Tell(message);
        return;
    }
    // The row as stored decides whether the current character belongs to
    // it; a row that is gone is reported by the write below.
    DictionaryRow stored;
    if (ReadFirst(Rs(), QStringLiteral("select *from ") + System() + QStringLiteral(" where id=?"), {*id}, stored)
        && !CharacterBoxAgrees(Box(6), boxes.hanzi, stored.hanzi)) {
        App().Dialog().Tell(kCharacterMismatch);
        return;
    }
    const auto fields = EntryToWrite(boxes, &message);
    if (!fields) {
        App().Dialog().Tell(message);
        return;
    }
    const DictionaryRow row = RowOf(*fields, *id);
    QString error;
    if (!UpdateRow(Rs(), System(), row, {}, &error)) {
        App().Dialog().Tell(kWriteFailed + error);
        return;
    }
    shown_ = boxes;
    // A list that is the whole table already takes the one changed row.
    if (RefreshListedRow(Rs(), System(), entries_, row.id)) {
        grid_->SetCount(EntryCount());
        ShowPageNumber();
        return;
    }
    ListTableAgain();
}

void Form11::Command4_Click()
{
    // A new entry of the current character (Text6), not of the shown one.
    EntryBoxes boxes = boxes_.Read();
    boxes.hanzi = Box(6);
    QString message;
    const auto fields = EntryToWrite(boxes, &message);
    if (!fields) {
        App().Dialog().Tell(message);
        return;
    }
    DictionaryRow row = RowOf(*fields);
    QString error;
    if (!InsertRow(Rs(), System(), row, {}, &error)) {
        App().Dialog().Tell(kWriteFailed + error);
        return;
    }
    shown_ = boxes_.Read();
    ListTableAgain();
}

void Form11::Command5_Click()
{
    QString message;
    const auto id = EntryId(boxes_.Read().id, &message);
    if (!id) {
        App().Dialog().Tell(message);
        return;
    }
    QString error;
    if (!DeleteRow(Rs(), System(), *id, &error)) {
        App().Dialog().Tell(kDeleteFailed + error);
        return;
    }
    ListTableAgain();
}

void Form11::Command6_Click()
{
    grid_->Previous();
    ShowPageNumber();
}

void Form11::Command7_Click()
{
    grid_->Next();
    ShowPageNumber();
}

void Form11::Command8_Click()
{
    if (MayClose())
        CloseWindow();
}

}  // namespace versilo
