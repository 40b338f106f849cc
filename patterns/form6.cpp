// SPDX-License-Identifier: GPL-3.0-or-later
#include "form6.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "appcontext.h"
#include "dialogs.h"
#include "namelist.h"
#include "patternbooks.h"
#include "prosody.h"
#include "textbox.h"
#include "tunetext.h"
#include "twips.h"
#include "windownames.h"

namespace versilo {

namespace {

// The six pattern symbols, in the order of their labels Label11 ... Label16.
const QString kSymbols[6] = {QStringLiteral("○"), QStringLiteral("●"), QStringLiteral("⊙"),
                             QStringLiteral("◎"), QStringLiteral("△"), QStringLiteral("▲")};

// A box's text as a display label shows it.
QString LabelForm(const QString &boxText)
{
    QString s = boxText;
    return s.replace(kCrLf, QStringLiteral("\n"));
}

QPlainTextEdit *MakeBox(QWidget *parent, const QString &name, double left, double width)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setGeometry(TwRect(left, 1560, width, 6135));
    box->setFont(SongFont(12));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    return box;
}

QLabel *MakeDisplay(QWidget *parent, const QString &name, const QRect &geometry, double points)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(SongFont(points));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setMargin(4);
    label->setFrameShape(QFrame::Box);
    return label;
}

}  // namespace

Form6::Form6(QWidget *parent) : DataWindow(window::kPatternManager, 13095, 8775, parent)
{
    AddBackground(QStringLiteral("Image1"));

    auto *label1 = new QLabel(QStringLiteral("诗词格律管理窗口（请不要在这里写作）"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(TwRect(1080, 720, 7935, 480));
    label1->setFont(SongFont(15));

    NameListLayout layout;
    layout.labels = kLabels;
    layout.left = 1080;
    layout.top = 1680;
    layout.rowStep = 300;
    layout.width = 1200;
    layout.height = 255;
    layout.grey = true;
    layout.thumbName = QStringLiteral("Label21");
    layout.thumbLeft = 2430;
    layout.upName = QStringLiteral("Image2");
    layout.upLeft = 2445;
    layout.upTop = 1440;
    layout.downName = QStringLiteral("Image3");
    layout.downLeft = 2430;
    layout.downTop = 7680;
    ScrollRules &rules = layout.rules;
    rules.resetTop = 1665;
    rules.dragMin = 1665;
    rules.dragMax = 1665 + 6280;
    // Dragging maps 5600 twips to the whole book, so the lowest part of the
    // track shows empty labels. The arrows step one name at a time and stop
    // once the last name stands on the last label, the thumb following.
    rules.startAt = LinearStart(1665, 5600);
    rules.keepInView = kLabels;
    rules.thumbAt = LinearThumb(1665, 5600);
    list_ = new NameList(this, QStringLiteral("Label4"), layout, [this](int position) {
        return position >= 0 && position < TuneCount() ? tunes_[size_t(position)].name : QString();
    });
    connect(list_, &NameList::clicked, this, &Form6::Label4_Click);

    // The display labels lie behind the edit boxes and show through in
    // browse mode.
    label17_ = MakeDisplay(this, QStringLiteral("Label17"), TwRect(2640, 1560, 3135, 6135), 12);
    label18_ = MakeDisplay(this, QStringLiteral("Label18"), TwRect(5760, 1560, 3255, 6135), 12);
    label2_ = MakeDisplay(this, QStringLiteral("Label2"), TwRect(9240, 4275, 3225, 390), 12);
    label2_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label2_->setWordWrap(false);
    text7_ = MakeBox(this, QStringLiteral("Text7"), 2640, 3135);
    text8_ = MakeBox(this, QStringLiteral("Text8"), 5760, 3255);
    text4_ = new QLineEdit(this);
    text4_->setObjectName(QStringLiteral("Text4"));
    text4_->setGeometry(TwRect(9240, 4275, 3225, 390));
    text4_->setFont(SongFont(12));
    text4_->installEventFilter(this);
    text5_ = new QLineEdit(this);
    text5_->setObjectName(QStringLiteral("Text5"));
    text5_->setGeometry(TwRect(9240, 3840, 3255, 375));
    text5_->setEnabled(false);

    const double symbolLefts[6] = {9360, 9840, 10320, 10800, 11400, 12000};
    for (int i = 0; i < 6; ++i) {
        auto *symbol = new ClickLabel(QStringLiteral("Label%1").arg(11 + i), this);
        symbol->setText(kSymbols[i]);
        symbol->setGeometry(TwRect(symbolLefts[i], 6120, 375, 375));
        symbol->setFont(SongFont(15));
        symbol->setAlignment(Qt::AlignCenter);
        symbol->setFrameShape(QFrame::Box);
        symbol->setCursor(Qt::PointingHandCursor);
        connect(symbol, &ClickLabel::clicked, this, [this, i] { Symbol_Click(i); });
    }

    // The picture buttons of this window have no pressed look.
    AddButton(QStringLiteral("Image5"), QStringLiteral("编辑模式"), 9240, 4800, [this] { Image5_Click(); }, false);
    AddButton(QStringLiteral("Image6"), QStringLiteral("浏览模式"), 10920, 4800, [this] { Image6_Click(); }, false);
    AddButton(QStringLiteral("Image7"), kBaixiangBook, 9240, 5400, [this] { ChooseBook(kBaixiangBook); }, false);
    AddButton(QStringLiteral("Image8"), kCommonBook, 10920, 5400, [this] { ChooseBook(kCommonBook); }, false);
    AddButton(QStringLiteral("Image9"), QStringLiteral("修改词谱"), 9240, 6600, [this] { Image9_Click(); }, false);
    AddButton(QStringLiteral("Image10"), QStringLiteral("删除词谱"), 10920, 6600, [this] { Image10_Click(); }, false);
    AddButton(QStringLiteral("Image11"), QStringLiteral("加入词谱"), 9240, 7200, [this] { Image11_Click(); }, false);
    PictureButton *clear = AddButton(QStringLiteral("Image12"), QStringLiteral("清空"), 10920, 7200, false, 735);
    connect(clear, &PictureButton::clicked, this, &Form6::Image12_Click);
    PictureButton *leave = AddButton(QStringLiteral("Image13"), QStringLiteral("退出"), 11760, 7200, false, 735);
    connect(leave, &PictureButton::clicked, this, &Form6::Image13_Click);
    SetBackButton(leave);   // Esc leaves as 退出 does

    // Browse mode after load.
    text7_->hide();
    text8_->hide();
    text4_->hide();
    book_ = kBaixiangBook;
    Load();
}

bool Form6::EditMode() const { return !text7_->isHidden() && !text8_->isHidden() && !text4_->isHidden(); }

void Form6::Reload()
{
    tunes_.clear();
    if (IsPatternBook(book_))
        ReadAll(Rs(), QStringLiteral("select *from ") + book_, {}, tunes_);
    list_->Reload(TuneCount());
}

void Form6::ShowInLabels()
{
    label17_->setText(LabelForm(BoxText(text7_)));
    label18_->setText(LabelForm(BoxText(text8_)));
    label2_->setText(BoxText(text4_));
}

void Form6::ClearBoxes()
{
    SetBoxText(text7_, QString());
    SetBoxText(text8_, QString());
    SetBoxText(text4_, QString());
    label17_->clear();
    label18_->clear();
}

bool Form6::EditsPending() const
{
    return BoxText(text7_) != kept_[0] || BoxText(text8_) != kept_[1] || BoxText(text4_) != kept_[2];
}

void Form6::KeepBoxes()
{
    kept_[0] = BoxText(text7_);
    kept_[1] = BoxText(text8_);
    kept_[2] = BoxText(text4_);
}

bool Form6::MayClose() { return !EditsPending() || App().Dialog().Ask(kAskDiscardTune); }

void Form6::Label4_Click(int index)
{
    ClickLabel *label = list_->Label(index);
    const bool entry = label && !label->text().isEmpty();
    // Another tune in the boxes would replace what was typed there.
    if (entry && !MayClose())
        return;
    text5_->clear();
    if (!entry)
        return;
    const int k = list_->PositionOf(index);
    if (k < 0 || k >= TuneCount())
        return;
    const TuneRow &tune = tunes_[size_t(k)];
    selected_ = k;
    text5_->setText(QString::number(tune.id));
    SetBoxText(text7_, TuneEditForm(tune.pattern));
    label17_->setText(LabelForm(BoxText(text7_)));
    SetBoxText(text8_, TuneEditForm(tune.explanation));
    label18_->setText(LabelForm(BoxText(text8_)));
    SetBoxText(text4_, label->text());
    label2_->setText(label->text());
    KeepBoxes();
}

void Form6::Symbol_Click(int index)
{
    // At the end of the pattern, and only while it can be edited.
    if (index < 0 || index >= 6 || text7_->isHidden())
        return;
    // Appended at the end, with the caret after it, so typing goes on there;
    // the box's undo takes the symbol back.
    QTextCursor cursor(text7_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(kSymbols[index]);
    text7_->setTextCursor(cursor);
    text7_->setFocus(Qt::OtherFocusReason);
}

void Form6::Image5_Click()
{
    text8_->show();
    text7_->show();
    text4_->show();
}

void Form6::Image6_Click()
{
    ShowInLabels();
    text8_->hide();
    text7_->hide();
    text4_->hide();
}

void Form6::ChooseBook(const QString &book)
{
    if (!MayClose())
        return;
    ClearBoxes();
    KeepBoxes();
    label2_->clear();
    book_ = book;
    // Nothing of the other book stays chosen, so no write can reach the
    // row of this book that happens to have the same id.
    selected_ = -1;
    text5_->clear();
    Reload();
}

bool Form6::TuneFromBoxes(TuneRow &row)
{
    row.name = TrimBlanks(BoxText(text4_));
    if (row.name.isEmpty()) {
        App().Dialog().Tell(kTuneNameMissing);
        return false;
    }
    row.pattern = StoredTuneText(BoxText(text7_));
    row.explanation = StoredTuneText(BoxText(text8_));
    return true;
}

void Form6::Image9_Click()
{
    if (!EditMode())
        return;
    bool ok = false;
    const qint64 id = text5_->text().toLongLong(&ok);
    if (selected_ < 0 || !ok) {
        App().Dialog().Tell(kNothingChosen);
        return;
    }
    TuneRow row;
    row.id = id;
    if (!TuneFromBoxes(row))
        return;
    QString error;
    if (!UpdateRow(Rs(), book_, row, {}, &error)) {
        App().Dialog().Tell(kWriteFailed + error);
        return;
    }
    KeepBoxes();
    Reload();
    App().Dialog().Tell(kTuneChanged);
}

void Form6::Image11_Click()
{
    if (!EditMode())
        return;
    TuneRow row;
    if (!TuneFromBoxes(row))
        return;
    QString error;
    if (!InsertRow(Rs(), book_, row, {}, &error)) {
        App().Dialog().Tell(kWriteFailed + error);
        return;
    }
    // One tune without a name goes with every add; finding none is fine.
    DeleteFirst(Rs(), QStringLiteral("select *from ") + book_ + QStringLiteral(" where 篇名 is  null"));
    KeepBoxes();
    Reload();
    App().Dialog().Tell(kTuneAdded);
}

void Form6::Image10_Click()
{
    if (text5_->text().isEmpty())
        return;
    if (selected_ < 0) {
        App().Dialog().Tell(kNothingChosen);
        if (EditsPending())
            return;
    } else if (!App().Dialog().Ask(kAskDelete)) {
        // No: the boxes empty as after a delete, unless they hold typed
        // text, which a 否 never throws away.
        if (EditsPending())
            return;
    } else {
        QString error;
        if (!DeleteRow(Rs(), book_, text5_->text().toLongLong(), &error)) {
            // Nothing deleted: the boxes keep the tune.
            App().Dialog().Tell(kDeleteFailed + error);
            return;
        }
        Reload();
        App().Dialog().Tell(kDeleted);
        selected_ = -1;
    }
    label2_->clear();
    ClearBoxes();
    KeepBoxes();
    text5_->clear();
}

void Form6::Image12_Click()
{
    if (EditMode() && MayClose()) {
        ClearBoxes();
        KeepBoxes();
    }
}

void Form6::Image13_Click() { HideWindow(); }

void Form6::Text4_DblClick()
{
    label2_->setText(BoxText(text4_));
    label2_->show();
}

bool Form6::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == text4_ && event->type() == QEvent::MouseButtonDblClick)
        Text4_DblClick();
    return DataWindow::eventFilter(watched, event);
}

}  // namespace versilo
