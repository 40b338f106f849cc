// SPDX-License-Identifier: GPL-3.0-or-later
#include "form4.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "appcontext.h"
#include "dialogs.h"
#include "messages.h"
#include "textbox.h"
#include "twips.h"
#include "windownames.h"

namespace versilo {

namespace {

const QString kAskSave = QStringLiteral("真的要修改该项数据吗？！");
const QString kSaved = QStringLiteral("ok!修改成功！");
const QString kAskInsert = QStringLiteral("真的要插入一个空白页吗？！");
const QString kInserted = QStringLiteral("ok!插入成功！");
const QString kAskDelete = QStringLiteral("真的要删除该项数据吗？！");
const QString kDeleted = QStringLiteral("ok!删除成功！");
const QString kSaveFailed = QStringLiteral("修改失败：");
const QString kInsertFailed = QStringLiteral("插入失败，各页保持原样：");
const QString kAskSaveFirst = QStringLiteral("本页已修改，要先保存吗？");
const QString kAskDiscard = QStringLiteral("本页的修改尚未保存，确定放弃吗？");
const QString kNothingToSave = QStringLiteral("当前没有可保存的页！");
const QString kAskNewPage = QStringLiteral("当前没有页，要存为新的一页吗？");

// The changing buttons look disabled while read mode holds them: the
// program's palette gives every button the same ink in every state.
void GreyWhenDisabled(QPushButton *button)
{
    QPalette pal = button->palette();
    const QColor ink = pal.color(QPalette::Active, QPalette::ButtonText);
    const QColor paper = pal.color(QPalette::Active, QPalette::Button);
    QColor grey = ink;
    grey.setAlpha(110);
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, grey);
    pal.setColor(QPalette::Disabled, QPalette::Button, paper.lighter(106));
    button->setPalette(pal);
}

}  // namespace

Form4::Form4(QWidget *parent) : DataWindow(window::kKnowledge, 13095, 8775, parent)
{
    AddBackground(QStringLiteral("Image1"));

    text2_ = new QLineEdit(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setGeometry(TwRect(960, 960, 9495, 495));
    text2_->setFont(SongFont(14.25));

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(TwRect(840, 1680, 11535, 5655));
    text1_->setFont(KaiFont(12));
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    label5_ = new QLabel(this);
    label5_->setObjectName(QStringLiteral("Label5"));
    label5_->setGeometry(TwRect(3120, 8040, 1575, 375));
    label5_->setFont(SongFont(14.25));

    label2_ = new QLabel(this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setGeometry(TwRect(12600, 120, 375, 375));

    option1_ = new QRadioButton(QStringLiteral("编辑"), this);
    option1_->setObjectName(QStringLiteral("Option1"));
    option1_->setGeometry(TwRect(10680, 1080, 735, 375));
    option2_ = new QRadioButton(QStringLiteral("阅览"), this);
    option2_->setObjectName(QStringLiteral("Option2"));
    option2_->setGeometry(TwRect(11520, 1080, 855, 375));
    option2_->setChecked(true);
    connect(option1_, &QRadioButton::clicked, this, &Form4::Option1_Click);
    connect(option2_, &QRadioButton::clicked, this, &Form4::Option2_Click);

    struct Button {
        const char *name;
        const char16_t *caption;
        double left, width;
        void (Form4::*handler)();
        bool changing;
    };
    const Button buttons[] = {
        {"Command1", u"在本页前插入页", 4920, 1455, &Form4::Command1_Click, true},
        {"Command7", u"在本页后插入页", 6480, 1455, &Form4::Command7_Click, true},
        {"Command3", u"删除页", 8040, 855, &Form4::Command3_Click, true},
        {"Command2", u"保存页", 9000, 855, &Form4::Command2_Click, true},
        {"Command5", u"上一页", 9960, 855, &Form4::Command5_Click, false},
        {"Command4", u"下一页", 10920, 855, &Form4::Command4_Click, false},
        {"Command6", u"返回", 11880, 855, &Form4::Command6_Click, false},
    };
    for (const Button &b : buttons) {
        auto *button = new QPushButton(QString::fromUtf16(b.caption), this);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(TwRect(b.left, 8040, b.width, 375));
        connect(button, &QPushButton::clicked, this, b.handler);
        if (b.changing) {
            changing_.push_back(button);
            GreyWhenDisabled(button);
        }
    }
    SetEditing(false);
    boxes_.Id(label2_, &PageRow::id).Text(text2_, &PageRow::title).Text(text1_, &PageRow::content);

    Load();
    ShowPage(current_);
}

void Form4::Reload()
{
    if (!ReadPages(Rs(), pages_))
        pages_.clear();
}

void Form4::ShowPage(int page)
{
    const bool exists = page >= 1 && page <= PageCount();
    boxes_.Fill(exists ? pages_[size_t(page - 1)] : PageRow());
    label5_->setText(PageNumberCaption(page));
    shown_ = boxes_.Read();
}

bool Form4::PageChanged() const
{
    const PageRow now = boxes_.Read();
    return now.title != shown_.title || now.content != shown_.content;
}

bool Form4::MayClose()
{
    if (!PageChanged())
        return true;
    Dialogs &dialogs = App().Dialog();
    // Typed text of a shown page can be saved on the way; without a page
    // there is nothing to save it into here (保存页 makes a page of it).
    if (!label2_->text().isEmpty() && dialogs.Ask(kAskSaveFirst)) {
        if (!SavePage())
            return false;
        dialogs.Tell(kSaved);
        return true;
    }
    return dialogs.Ask(kAskDiscard);
}

void Form4::GoToPage(int page)
{
    // A page that does not change keeps what was typed on it.
    if (page == current_ || !MayClose())
        return;
    current_ = page;
    ShowPage(current_);
}

void Form4::SetEditing(bool editing)
{
    for (QPushButton *b : changing_)
        b->setEnabled(editing);
}

void Form4::Option1_Click()
{
    option1_->setChecked(true);
    SetEditing(true);
}

void Form4::Option2_Click()
{
    option2_->setChecked(true);
    SetEditing(false);
}

void Form4::Command4_Click() { GoToPage(NextPage(current_, PageCount())); }

void Form4::Command5_Click() { GoToPage(PreviousPage(current_)); }

bool Form4::SavePage()
{
    const PageRow row = boxes_.Read();
    QString error;
    if (!UpdateRow(Rs(), kPagesTable, row, {}, &error)) {
        // The typed title and text stay on screen.
        App().Dialog().Tell(kSaveFailed + error);
        return false;
    }
    Reload();
    ShowPage(current_);
    return true;
}

void Form4::SaveAsNewPage()
{
    Dialogs &dialogs = App().Dialog();
    PageRow row = boxes_.Read();
    if (row.title.isEmpty() && row.content.isEmpty()) {
        dialogs.Tell(kNothingToSave);
        return;
    }
    if (!dialogs.Ask(kAskNewPage, Preselect::Yes))
        return;
    row.id = 0;
    QString error;
    if (!InsertRow(Rs(), kPagesTable, row, {}, &error)) {
        dialogs.Tell(kInsertFailed + error);
        return;
    }
    Reload();
    current_ = PageCount();
    ShowPage(current_);
    dialogs.Tell(kInserted);
}

void Form4::Command2_Click()
{
    if (label2_->text().isEmpty()) {
        SaveAsNewPage();
        return;
    }
    Dialogs &dialogs = App().Dialog();
    if (!dialogs.Ask(kAskSave, Preselect::Yes))
        return;
    if (SavePage())
        dialogs.Tell(kSaved);
}

void Form4::Command3_Click()
{
    if (label2_->text().isEmpty())
        return;
    Dialogs &dialogs = App().Dialog();
    if (!dialogs.Ask(kAskDelete))
        return;
    QString error;
    if (!DeleteRow(Rs(), kPagesTable, label2_->text().toLongLong(), &error)) {
        dialogs.Tell(kDeleteFailed + error);
        return;
    }
    Reload();
    current_ = PageAfterDelete(current_, PageCount());
    ShowPage(current_);
    dialogs.Tell(kDeleted);
}

void Form4::Command1_Click() { Insert(InsertWhere::Before); }

void Form4::Command7_Click() { Insert(InsertWhere::After); }

void Form4::Insert(InsertWhere where)
{
    Dialogs &dialogs = App().Dialog();
    // The shown page moves or is replaced by the blank one: typed text first.
    if (!MayClose() || !dialogs.Ask(kAskInsert, Preselect::Yes))
        return;
    QString error;
    if (!InsertBlankPage(App().Store(), InsertTarget(current_, where), &error)) {
        dialogs.Tell(kInsertFailed + error);
        return;
    }
    Reload();
    current_ = PageAfterInsert(current_, where);
    ShowPage(current_);
    dialogs.Tell(kInserted);
}

void Form4::Command6_Click()
{
    if (MayClose())
        CloseWindow();
}

}  // namespace versilo
