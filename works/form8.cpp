// SPDX-License-Identifier: GPL-3.0-or-later
#include "form8.h"

#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QPlainTextEdit>

#include "appcontext.h"
#include "applocation.h"
#include "art.h"
#include "desktopopen.h"
#include "dialogs.h"
#include "namelist.h"
#include "pagedwindow.h"
#include "printout.h"
#include "prosody.h"
#include "textbox.h"
#include "twips.h"
#include "windownames.h"
#include "worddoc.h"
#include "works.h"

namespace versilo {

namespace {

DocumentDesktop *&Installed()
{
    static DocumentDesktop *desktop = nullptr;
    return desktop;
}

// The scroll thumb runs from top 960 to 7240; the list start it stands for
// is the whole part of (top - 960) x count / 5600, so the lowest part of its
// travel shows empty labels.
ScrollRules ThumbRules()
{
    ScrollRules rules;
    rules.resetTop = 960;
    rules.dragMin = 960;
    rules.dragMax = 7240;
    rules.startAt = LinearStart(960, 5600);
    return rules;
}

}  // namespace

QString SystemDesktop::ExportFolder() { return AppWriteDir(); }

QStringList SystemDesktop::Handlers(const QString &path) { return DesktopHandlers(path); }

bool SystemDesktop::Open(const QUrl &url) { return QDesktopServices::openUrl(url); }

DocumentDesktop &Form8::Desktop()
{
    static SystemDesktop system;
    return Installed() ? *Installed() : system;
}

void Form8::SetDesktop(DocumentDesktop *desktop) { Installed() = desktop; }

QString Form8::ExportPath() { return QDir(Desktop().ExportFolder()).filePath(kExportFileName); }

Form8::Form8(QWidget *parent) : DataWindow(window::kPrinting, 13095, 8775, parent)
{
    AddBackground(QStringLiteral("Image1"));

    auto *shape1 = new QFrame(this);   // the frame around the list and its thumb
    shape1->setObjectName(QStringLiteral("Shape1"));
    shape1->setFrameShape(QFrame::Box);
    shape1->setGeometry(TwRect(900, 900, 1830, 6600));

    auto *image7 = new QLabel(this);   // the title picture
    image7->setObjectName(QStringLiteral("Image7"));
    image7->setAttribute(Qt::WA_TransparentForMouseEvents);
    image7->setGeometry(TwRect(960, 7920, 525, 525));
    image7->setPixmap(SealArt(TwSize(525, 525), QStringLiteral("打印")));
    image7->setAccessibleName(QStringLiteral("打印"));   // the seal's words, for a screen reader

    NameListLayout list;
    list.labels = kLabels;
    list.left = 960;
    list.top = 960;
    list.rowStep = 315;
    list.width = 1500;
    list.height = 225;
    list.grey = true;
    list.fontPoints = 9;
    list.thumbName = QStringLiteral("Label18");
    list.thumbLeft = 2520;
    list.rules = ThumbRules();
    label4_ = new NameList(this, QStringLiteral("Label4"), list,
                           [this](int position) {
                               return position >= 0 && position < WorkCount()
                                          ? ListedTitle(RowAt(works_, position).title)
                                          : QString();
                           });
    connect(label4_, &NameList::clicked, this, &Form8::Label4_Click);

    label26_ = new QLabel(this);
    label26_->setObjectName(QStringLiteral("Label26"));
    label26_->setFont(SongFont(14.25));
    label26_->setGeometry(TwRect(6360, 360, 5535, 375));

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFont(SongFont(14.25));
    text1_->setGeometry(TwRect(2760, 810, 9135, 7005));
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto *label6 = new QLabel(kWordNote, this);
    label6->setObjectName(QStringLiteral("Label6"));
    label6->setGeometry(TwRect(2760, 8040, 4800, 300));

    auto *image3 = AddButton(QStringLiteral("Image3"), QStringLiteral("打开WORD文档"), 7680, 7920, true, 1455, 375);
    auto *image4 = AddButton(QStringLiteral("Image4"), QStringLiteral("打印"), 9240, 7920, false, 1215, 375);
    auto *image2 = AddButton(QStringLiteral("Image2"), QStringLiteral("返回"), 10560, 7920, false, 1215, 375);
    connect(image3, &PictureButton::clicked, this, &Form8::Image3_Click);
    connect(image4, &PictureButton::clicked, this, &Form8::Image4_Click);
    connect(image2, &PictureButton::clicked, this, &Form8::Image2_Click);

    Load();
}

void Form8::Reload()
{
    ReadAll(Rs(), QStringLiteral("select *from 作品"), {}, works_);
    label4_->Reload(WorkCount());
}

void Form8::Label4_Click(int index)
{
    const QString listed = index >= 0 && index < kLabels ? label4_->Label(index)->text() : QString();
    if (listed.isEmpty() || !MayClose())
        return;
    const WorkRow work = RowAt(works_, label4_->PositionOf(index));
    label26_->setText(work.title);
    SetBoxText(text1_, PoemFromStored(work.poem));
    lineCount_ = int(work.poem.count(u'|')) + 1;
    used_ = BoxText(text1_);
}

bool Form8::HasUnusedEdits() const { return BoxText(text1_) != used_; }

bool Form8::MayClose() { return !HasUnusedEdits() || App().Dialog().Ask(kAskDiscardPrintCopy); }

void Form8::Image2_Click() { HideWindow(); }

void Form8::Image3_Click()
{
    Dialogs &dialogs = App().Dialog();
    const QString path = ExportPath();
    ++lineCount_;
    const QString text = BoxText(text1_);
    const QByteArray document =
        ToRtf(ExportParagraphs(label26_->text(), text, ExportFiller(lineCount_)));
    QString error;
    if (!WriteDocument(path, document, &error)) {
        dialogs.Tell(error);
        return;
    }
    used_ = text;
    dialogs.Tell(kExportDone);

    // Opening succeeds as soon as the desktop's opener starts, whether or not
    // a program takes the file; so look for one first.
    DocumentDesktop &desktop = Desktop();
    const QStringList handlers = desktop.Handlers(path);
    if (handlers.isEmpty()) {
        dialogs.Tell(QStringLiteral("文档已保存为 ") + QDir::toNativeSeparators(path)
                     + QStringLiteral("，但本机没有能打开 .doc 文档的程序（例如 LibreOffice Writer），请安装后再打开。"));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    const bool asked = desktop.Open(url);
    if (!asked)
        dialogs.Tell(QStringLiteral("未能打开文档 ") + QDir::toNativeSeparators(path)
                     + QStringLiteral("：桌面没能启动打开它的程序。"));
}

void Form8::Image4_Click()
{
    const QString text = BoxText(text1_);
    const QList<PrintLine> lines = PrintLines(label26_->text(), text, QDate::currentDate());
    QString error;
    if (!PrintOnDefaultPrinter(lines, &error))
        App().Dialog().Tell(error);
    else
        used_ = text;
}

}  // namespace versilo
