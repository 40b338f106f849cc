// SPDX-License-Identifier: GPL-3.0-or-later
#include "form5.h"

#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <utility>

#include "appcontext.h"
#include "dialogs.h"
#include "form7.h"
#include "library.h"
#include "namelist.h"
#include "prosody.h"
#include "textbox.h"
#include "twips.h"
#include "windownames.h"

namespace versilo {

namespace {

const QString kAllPoems = QStringLiteral("select *from 诗词库");
const QString kAllAuthors = QStringLiteral("select *from 作者");
const QString kPoemsByInitials = QStringLiteral("SELECT * from 诗词库  where 拼音 like ?");
const QString kAuthorsByInitials = QStringLiteral("SELECT * from 作者  where 拼音 like ?");
const QString kPoemsOfAuthor = QStringLiteral("SELECT * from 诗词库 where 作者=?");

NameListLayout ListLayout(double left, double width, const QString &thumb, double thumbLeft,
                          const QString &up, const QString &down, ScrollRules rules)
{
    NameListLayout l;
    l.labels = Form5::kLabels;
    l.left = left;
    l.top = 1200;
    l.rowStep = 306;
    l.width = width;
    l.height = 285;
    l.thumbName = thumb;
    l.thumbLeft = thumbLeft;
    l.upName = up;
    l.upLeft = thumbLeft;
    l.upTop = 1080;
    l.downName = down;
    l.downLeft = thumbLeft;
    l.downTop = 7560;
    l.rules = std::move(rules);
    return l;
}

QLabel *AddLabel(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

// Where the keypad stands: over the lower part of the list it searches
// (authors: from the left of 查找作者; poems: from the left of 查找作品).
constexpr double kAuthorKeypadLeft = 10680;
constexpr double kPoemKeypadLeft = 720;
constexpr double kKeypadTop = 5175;

const QString kReadFailed = QStringLiteral("查找失败：");

}  // namespace

Form5::Form5(QWidget *parent) : DataWindow(window::kLibrary, 13095, 8775, parent)
{
    AddBackground(QStringLiteral("Image5"));

    poemList_ = new NameList(this, QStringLiteral("Label4"),
                             ListLayout(720, 3000, QStringLiteral("Label16"), 3840, QStringLiteral("Image1"),
                                        QStringLiteral("Image2"), PoemScrollRules()),
                             [this](int at) { return at < PoemCount() ? poems_[size_t(at)].title : QString(); });
    authorList_ = new NameList(this, QStringLiteral("Label5"),
                               ListLayout(10680, 1905, QStringLiteral("Label3"), 10440, QStringLiteral("Image3"),
                                          QStringLiteral("Image4"), AuthorScrollRules()),
                               [this](int at) { return at < AuthorCount() ? authors_[size_t(at)].name : QString(); });
    connect(poemList_, &NameList::clicked, this, &Form5::Label4_Click);
    connect(authorList_, &NameList::clicked, this, &Form5::Label5_Click);

    const QRect poemBox = TwRect(4200, 1200, 6135, 6492);
    text4_ = new QPlainTextEdit(this);
    text4_->setObjectName(QStringLiteral("Text4"));
    text4_->setGeometry(poemBox);
    text4_->setFont(KaiFont(14));
    text4_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text4_->viewport()->installEventFilter(this);
    label1_ = AddLabel(this, QStringLiteral("Label1"), poemBox);
    label1_->setFont(KaiFont(14));
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label17_ = AddLabel(this, QStringLiteral("Label17"), TwRect(4200, 7800, 1455, 375));
    label2_ = AddLabel(this, QStringLiteral("Label2"), TwRect(5880, 7800, 4455, 375));

    const struct {
        const char *name;
        const char16_t *text;
        double left;
        void (Form5::*handler)();
    } buttons[] = {
        {"Image7", u"查找作品", 720, &Form5::Image7_Click},
        {"Image6", u"刷新", 2280, &Form5::Image6_Click},
        {"Image8", u"查找作者", 10680, &Form5::Image8_Click},
        {"Image9", u"返回", 11760, &Form5::Image9_Click},
    };
    for (const auto &b : buttons) {
        PictureButton *button = AddButton(QLatin1String(b.name), QString::fromUtf16(b.text), b.left, 7800,
                                          false, 1005, 405);
        connect(button, &PictureButton::clicked, this, b.handler);
    }

    text4_->hide();
    Load();
}

template <class Row>
bool Form5::Read(const QString &sql, const QVariantList &params, std::vector<Row> &rows)
{
    std::vector<Row> read;
    QString error;
    if (!ReadAll(Rs(), sql, params, read, &error)) {
        App().Dialog().Tell(kReadFailed + error);
        return false;
    }
    rows = std::move(read);
    return true;
}

void Form5::ReadAllRows()
{
    // One message is enough when the store is not to be had.
    if (Read(kAllPoems, {}, poems_))
        Read(kAllAuthors, {}, authors_);
}

void Form5::Reload()
{
    ReadAllRows();
    poemList_->Reload(PoemCount(), kPoemThumbLoadTop);
    authorList_->Reload(AuthorCount(), kThumbResetTop);
}

bool Form5::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
    return DataWindow::event(e);
}

bool Form5::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == text4_->viewport() && e->type() == QEvent::MouseButtonDblClick)
        Text4_DblClick();
    return DataWindow::eventFilter(watched, e);
}

void Form5::Form_Activate()
{
    AppContext &app = App();
    // A search runs once, found or failed; a failed one says why and leaves
    // its list as it was.
    if (app.authorSearchPending) {
        app.authorSearchPending = false;
        const QString letters = std::exchange(app.keypadLetters, QString());
        if (Read(kAuthorsByInitials, {InitialsPattern(letters)}, authors_))
            authorList_->Reload(AuthorCount(), kThumbResetTop);
    }
    if (app.poemSearchPending) {
        app.poemSearchPending = false;
        const QString letters = std::exchange(app.keypadLetters, QString());
        if (Read(kPoemsByInitials, {InitialsPattern(letters)}, poems_))
            poemList_->Reload(PoemCount(), kThumbResetTop);
    }
}

void Form5::OpenKeypadFor(bool authors)
{
    AppContext &app = App();
    (authors ? app.authorSearchPending : app.poemSearchPending) = true;
    // The keypad runs the pending searches when it closes; a click on this
    // window while it is open runs them through the activation as well.
    Form7 *keypad = OpenKeypad(this, [this] { Form_Activate(); });
    app.keypadLetters.clear();
    if (keypad)
        keypad->move(mapToGlobal(TwPoint(authors ? kAuthorKeypadLeft : kPoemKeypadLeft, kKeypadTop)));
}

void Form5::Image7_Click() { OpenKeypadFor(false); }

void Form5::Image8_Click() { OpenKeypadFor(true); }

void Form5::Image6_Click()
{
    SetBoxText(text4_, QString());
    label17_->clear();
    label2_->clear();
    ReadAllRows();
    poemList_->Reload(PoemCount(), kPoemThumbRefreshTop);
    authorList_->Reload(AuthorCount(), kThumbResetTop);
}

void Form5::Image9_Click() { HideWindow(); }

void Form5::Label4_Click(int index)
{
    const int at = poemList_->PositionOf(index);
    if (at < 0 || at >= PoemCount())
        return;   // an empty label
    for (LibraryPoemRow &p : poems_)
        p.title = Unmarked(p.title);
    LibraryPoemRow &poem = poems_[size_t(at)];
    poem.title = Marked(poem.title);
    poemList_->Show();

    SetBoxText(text4_, QString());
    label17_->setText(Unmarked(poem.author));
    if (ShownOnLabel(poem.text)) {
        text4_->hide();
        label1_->show();
        label1_->setText(poem.text);
    } else {
        label1_->hide();
        text4_->show();
        SetBoxText(text4_, poem.text);
    }
    label2_->setText(Unmarked(poem.title));
}

void Form5::Label5_Click(int index)
{
    const int at = authorList_->PositionOf(index);
    if (at < 0 || at >= AuthorCount())
        return;   // an empty label
    SetBoxText(text4_, QString());
    label17_->clear();
    label2_->clear();
    for (AuthorRow &a : authors_)
        a.name = Unmarked(a.name);
    AuthorRow &author = authors_[size_t(at)];

    if (Read(kPoemsOfAuthor, {TrimBlanks(author.name)}, poems_))
        poemList_->Reload(PoemCount(), kThumbResetTop);

    label17_->setText(author.name);
    label2_->setText(AuthorLifeLine(author.dynasty, author.year));
    author.name = Marked(author.name);
    authorList_->Show();
}

void Form5::Text4_DblClick()
{
    label2_->setText(BoxText(text4_));
    label2_->show();
}

}  // namespace versilo
