// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <limits>

#include "appcontext.h"
#include "art.h"
#include "dialogs.h"
#include "markexplainer.h"
#include "listlook.h"
#include "patternbooks.h"
#include "rhymedict.h"
#include "textbox.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

namespace {

const QString kInitialTitle = QStringLiteral("在此处写作品标题");
const QString kInitialPoem = QStringLiteral("在此处撰写诗词\r\n");

QPlainTextEdit *MakeColumn(QWidget *parent, const QString &name, double left, double width, bool typing)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setGeometry(TwRect(left, 1560, width, 6255));
    box->setFont(SongFont(12));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    box->setPalette(pal);
    // The pattern, explanation and result columns change only by program;
    // they can be clicked into to select and copy, but Tab passes them by.
    box->setReadOnly(!typing);
    if (!typing)
        box->setFocusPolicy(Qt::ClickFocus);
    // Tab moves on to the next control: a poem line never holds a tab.
    box->setTabChangesFocus(true);
    return box;
}

QLabel *MakeHeading(QLabel *label, double left, double width)
{
    label->setGeometry(TwRect(left, 960, width, 480));
    label->setFont(SongFont(10.5));
    label->setWordWrap(true);
    // A two-line legend fills the heading: start at the top so nothing is cut.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMargin(0);
    SetGreyLook(label);
    return label;
}

}  // namespace

Form1::Form1(QWidget *parent) : DataWindow(window::kCompose, 13230, 8835, parent)
{
    // Pictures and lines first, so that they lie beneath every control.
    AddBackground(QStringLiteral("Image13"), 13455, 8895, -120);

    auto *shape1 = new QFrame(this);
    shape1->setObjectName(QStringLiteral("Shape1"));
    shape1->setFrameShape(QFrame::Box);
    shape1->setGeometry(TwRect(120, 840, 12990, 7080));
    shape1->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setGeometry(TwRect(120, 7935, 12990, 30));
    line1->setAttribute(Qt::WA_TransparentForMouseEvents);

    // A picture without behaviour; like every control it keeps the mouse.
    auto *image12 = new ClickLabel(QStringLiteral("Image12"), this);
    image12->setGeometry(TwRect(12375, 180, 600, 600));
    image12->setPixmap(SealArt(TwSize(600, 600), QStringLiteral("诗词")));
    image12->setAccessibleName(QStringLiteral("诗词"));   // the seal's words, for a screen reader

    // Headings above the columns; the title box stands above the poem. A
    // press on a heading does not drag the window.
    label11_ = MakeHeading(new ClickLabel(QStringLiteral("Label11"), this), 240, 2505);
    auto *label1 = new ClickLabel(QStringLiteral("Label1"), this);
    label1_ = MakeHeading(label1, 5520, 2280);
    label2_ = MakeHeading(new ClickLabel(QStringLiteral("Label2"), this), 8040, 2295);
    label3_ = MakeHeading(new ClickLabel(QStringLiteral("Label3"), this), 10560, 2175);

    text4_ = new QLineEdit(this);
    text4_->setObjectName(QStringLiteral("Text4"));
    text4_->setGeometry(TwRect(3000, 960, 2265, 480));
    text4_->setFont(SongFont(10.5));
    // The title holds whatever the writer pastes: no cut at 32767 characters.
    text4_->setMaxLength(std::numeric_limits<int>::max());
    {
        QPalette pal = text4_->palette();
        pal.setColor(QPalette::Base, Qt::white);
        pal.setColor(QPalette::Text, Qt::black);
        text4_->setPalette(pal);
    }
    // The title is one line: line breaks pasted or dropped into it go, the
    // text around them stays.
    connect(text4_, &QLineEdit::textEdited, this, [this](const QString &typed) {
        if (!typed.contains(u'\r') && !typed.contains(u'\n'))
            return;
        const int cursor = text4_->cursorPosition();
        const int before = int(typed.left(cursor).count(u'\r') + typed.left(cursor).count(u'\n'));
        QString one = typed;
        one.remove(u'\r').remove(u'\n');
        text4_->setText(one);
        text4_->setCursorPosition(cursor - before);
    });

    text3_ = MakeColumn(this, QStringLiteral("Text3"), 240, 2775, false);
    text2_ = MakeColumn(this, QStringLiteral("Text2"), 3000, 2535, true);
    text5_ = MakeColumn(this, QStringLiteral("Text5"), 5520, 2535, false);
    text6_ = MakeColumn(this, QStringLiteral("Text6"), 8040, 2535, false);
    text8_ = MakeColumn(this, QStringLiteral("Text8"), 10560, 2415, false);

    explainer_ = new MarkExplainer(text6_, text8_, this);

    // Tab leads from the title straight into the poem.
    QWidget::setTabOrder(text4_, text2_);

    struct ButtonDef {
        const char *name;
        const char16_t *caption;
        double left;
        double width;
        void (Form1::*handler)();
    };
    const ButtonDef defs[] = {
        {"Command4", u"打开词谱", 120, 1200, &Form1::Command4_Click},
        {"Command8", u"打开作品", 1573, 1200, &Form1::Command8_Click},
        {"Command9", u"判断平仄韵调", 3026, 1335, &Form1::Command9_Click},
        {"Command1", u"判断正误", 4614, 1200, &Form1::Command1_Click},
        {"Command7", u"保存作品", 6067, 1200, &Form1::Command7_Click},
        {"Command6", u"清空栏目", 7520, 1200, &Form1::Command6_Click},
        {"Command3", u"常用词谱", 8973, 1200, &Form1::Command3_Click},
        {"Command2", u"中华新韵", 10426, 1200, &Form1::Command2_Click},
        {"Command5", u"退出写作", 11880, 1200, &Form1::Command5_Click},
    };
    for (const ButtonDef &def : defs) {
        auto *button = new QPushButton(QString::fromUtf16(def.caption), this);
        button->setObjectName(QLatin1String(def.name));
        button->setGeometry(TwRect(def.left, 8040, def.width, 495));
        button->setFont(SongFont(9));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, def.handler);
        if (def.handler == &Form1::Command6_Click)
            button->setToolTip(QStringLiteral("清空全部栏目（Ctrl+Z 可恢复）"));
        else if (def.handler == &Form1::Command2_Click)
            command2_ = button;
        else if (def.handler == &Form1::Command3_Click)
            command3_ = button;
    }
    connect(label1, &ClickLabel::doubleClicked, this, &Form1::Label1_DblClick);

    SetBoxText(text4_, kInitialTitle);
    SetBoxText(text2_, kInitialPoem);
    SelectWhileInitial(text4_, kInitialTitle);
    KeepDraft();

    BindKey(QKeySequence::Save, [this] { Command7_Click(); });
    // Ctrl+Z takes 清空栏目 back: from the buttons through the window, from
    // the text boxes through the filter (after their own undo is used up).
    BindKey(QKeySequence::Undo, [this] { UndoClear(); });
    text4_->installEventFilter(this);
    for (QPlainTextEdit *box : {text2_, text3_, text5_, text6_, text8_})
        box->installEventFilter(this);

    // Load: a fresh connection and recordset, then over the launcher.
    Load();
}

QString Form1::Title() const { return BoxText(text4_); }
void Form1::SetTitle(const QString &text) { SetBoxText(text4_, text); }
QString Form1::Poem() const { return BoxText(text2_); }
void Form1::SetPoem(const QString &text) { SetBoxText(text2_, text); }
QString Form1::Explanation() const { return BoxText(text3_); }
void Form1::SetExplanation(const QString &text) { SetBoxText(text3_, text); }
QString Form1::Pattern() const { return BoxText(text5_); }
void Form1::SetPattern(const QString &text) { SetBoxText(text5_, text); }
QString Form1::Tones() const { return BoxText(text6_); }
void Form1::SetTones(const QString &text) { SetBoxText(text6_, text); }
QString Form1::Results() const { return BoxText(text8_); }
void Form1::SetResults(const QString &text) { SetBoxText(text8_, text); }
QString Form1::TuneName() const { return label1_->text(); }
void Form1::SetTuneName(const QString &text) { label1_->setText(text); }
QString Form1::ExplanationHeading() const { return label11_->text(); }
void Form1::SetExplanationHeading(const QString &text) { label11_->setText(text); }
QString Form1::ToneLegend() const { return label2_->text(); }
void Form1::SetToneLegend(const QString &text) { label2_->setText(text); }
QString Form1::ResultHeading() const { return label3_->text(); }
void Form1::SetResultHeading(const QString &text) { label3_->setText(text); }
QString Form1::RhymeSystem() const { return command2_->text(); }
QString Form1::PatternBook() const { return command3_->text(); }

ComposeTexts Form1::Texts() const
{
    ComposeTexts t;
    t.text2 = Poem();
    t.text4 = Title();
    t.text5 = Pattern();
    t.text6 = Tones();
    t.text8 = Results();
    t.label1 = TuneName();
    t.label2 = ToneLegend();
    t.label3 = ResultHeading();
    t.command2 = RhymeSystem();
    return t;
}

void Form1::SetTexts(const ComposeTexts &t)
{
    SetPoem(t.text2);
    SetTitle(t.text4);
    SetPattern(t.text5);
    SetTones(t.text6);
    SetResults(t.text8);
    SetTuneName(t.label1);
    SetToneLegend(t.label2);
    SetResultHeading(t.label3);
    command2_->setText(t.command2);
}

WorkOnScreen Form1::Work() const
{
    WorkOnScreen w;
    w.title = Title();
    w.poem = Poem();
    w.pattern = Pattern();
    w.tuneName = TuneName();
    w.patternBook = PatternBook();
    return w;
}

Form1 *Form1::Find() { return AppContext::Instance().Windows().Get<Form1>(window::kCompose); }

Form1 *Form1::FindOrCreate() { return AppContext::Instance().Windows().FindOrCreate<Form1>(window::kCompose); }

void Form1::ShowTune(const TuneRow &tune) { ShowTune(tune.name, tune.pattern, tune.explanation); }

void Form1::SetWork(const QString &title, const QString &poem)
{
    // Writing put in over the writer's agreement (MayReplace): what a clear
    // took away is not brought back over it later. Nothing new put in
    // leaves it where Ctrl+Z finds it.
    if (Draft{title, poem} != CurrentDraft())
        cleared_.reset();
    SetTitle(title);
    SetPoem(poem);
}

void Form1::PutWorkBack(const QString &title, const QString &storedPoem, const QString &tuneName)
{
    SetWork(title, PoemFromStored(storedPoem));
    KeepDraft();
    ShowTune(TuneOfWork(AppContext::Instance().Store().Rs(), title, tuneName));
}

void Form1::ShowTune(const QString &name, const QString &storedPattern, const QString &storedExplanation)
{
    SetExplanation(QString());
    SetPattern(QString());
    SetTones(QString());
    SetResults(QString());
    SetTuneName(name);
    SetExplanationHeading(name);
    SetPattern(PatternDisplayForm(storedPattern));
    SetExplanation(ExplanationDisplayForm(storedExplanation));
}

void Form1::RunCheck(Run run)
{
    DataStore &store = AppContext::Instance().Store();
    QString failure;
    RhymeDictionary loaded;
    const DictionaryLoader load = [this, &store, &failure, &loaded](const QString &system, RhymeDictionary &out) {
        QString error;
        const bool ok = dictionaries_.Load(store, system, out, &error);
        if (!ok)
            failure = error;
        else
            loaded = out;
        return ok;
    };
    ComposeTexts texts = Texts();
    const bool ok = run(texts, load);
    SetTexts(texts);
    if (ok)
        explainer_->Explain(texts, loaded, run == &RunAnnotation);
    if (!ok) {
        if (failure.isEmpty())
            failure = QStringLiteral("数据库不可用。");
        AppContext::Instance().Dialog().Tell(QStringLiteral("无法读取韵书“") + texts.command2
                                             + QStringLiteral("”：") + failure);
    }
}

void Form1::Command1_Click() { RunCheck(&RunConformanceCheck); }

void Form1::Command9_Click() { RunCheck(&RunAnnotation); }

void Form1::Command2_Click()
{
    command2_->setText(RhymeSystem() == kNewRhyme ? kPingshui : kNewRhyme);
}

void Form1::Command3_Click()
{
    command3_->setText(PatternBook() == kCommonBook ? kBaixiangBook : kCommonBook);
}

void Form1::Command4_Click()
{
    AppContext &app = AppContext::Instance();
    app.patternBook = PatternBook();
    app.Windows().OpenFresh(window::kPatternBrowser);
}

void Form1::Command8_Click() { AppContext::Instance().Windows().OpenFresh(window::kWorksBrowser); }

void Form1::Command5_Click()
{
    if (MayClose())
        CloseWindow();
}

Draft Form1::CurrentDraft() const { return {Title(), Poem()}; }

Draft Form1::HeldDraft() const
{
    if (CanUndoClear())
        return {cleared_->title, cleared_->poem};
    return CurrentDraft();
}

void Form1::KeepDraft() { kept_ = CurrentDraft(); }

bool Form1::HasUnsavedWriting() const { return versilo::HasUnsavedWriting(HeldDraft(), kept_); }

bool Form1::MayClose()
{
    return !HasUnsavedWriting() || AppContext::Instance().Dialog().Ask(kAskDiscard);
}

bool Form1::MayReplace(const Draft &next)
{
    if (next == CurrentDraft() || !WouldLoseWriting(HeldDraft(), kept_, next))
        return true;
    return AppContext::Instance().Dialog().Ask(kAskDiscard);
}

bool Form1::MayReplaceWriting(const Draft &next)
{
    Form1 *form1 = Find();
    return !form1 || form1->MayReplace(next);
}

Form1::Cleared Form1::Clearable() const
{
    return {Title(),    Poem(),         Explanation(),        Pattern(),    Tones(),
            Results(),  TuneName(),     ExplanationHeading(), ToneLegend(), ResultHeading()};
}

void Form1::SetClearable(const Cleared &shown)
{
    // The poem and the columns first, the title last.
    SetPoem(shown.poem);
    SetExplanation(shown.explanation);
    SetPattern(shown.pattern);
    SetTones(shown.tones);
    SetResults(shown.results);
    SetTitle(shown.title);
    SetTuneName(shown.tuneName);
    SetExplanationHeading(shown.explanationHeading);
    SetToneLegend(shown.toneLegend);
    SetResultHeading(shown.resultHeading);
}

void Form1::Command6_Click()
{
    // Clearing a window that holds no title or poem keeps what an earlier
    // clear took away.
    const Draft shown = CurrentDraft();
    if (!shown.title.isEmpty() || !shown.poem.isEmpty())
        cleared_ = Clearable();
    SetClearable({});
}

bool Form1::CanUndoClear() const { return cleared_ && Title().isEmpty() && Poem().isEmpty(); }

bool Form1::UndoClear()
{
    if (!CanUndoClear())
        return false;
    const Cleared emptied = *cleared_;
    cleared_.reset();
    SetClearable(emptied);
    return true;
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo))
        return DataWindow::eventFilter(watched, event);
    // A box undoes its own typing first; once that is used up, Ctrl+Z
    // takes back 清空栏目.
    bool ownUndo = false;
    if (watched == text4_)
        ownUndo = text4_->isUndoAvailable();
    else if (auto *box = qobject_cast<QPlainTextEdit *>(watched))
        ownUndo = !box->isReadOnly() && box->document()->isUndoAvailable();
    return !ownUndo && UndoClear();
}

void Form1::Command7_Click()
{
    AppContext &app = AppContext::Instance();
    const Draft saving = CurrentDraft();
    const SaveResult result = SaveWork(Work(), app.Store(), app.Dialog());
    if (result == SaveResult::Added || result == SaveResult::Overwritten) {
        kept_ = saving;
        cleared_.reset();
    }
}

void Form1::Label1_DblClick()
{
    const QString title = TuneName() + QStringLiteral(".");
    if (MayReplace({title, Poem()}))
        SetTitle(title);
}

}  // namespace versilo
