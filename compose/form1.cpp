#include "form1.h"

#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

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

    // Headings above the columns; the title box stands above the poem. A
    // press on a heading does not drag the window.
    auto *label11 = MakeHeading(new ClickLabel(QStringLiteral("Label11"), this), 240, 2505);
    auto *label1 = new ClickLabel(QStringLiteral("Label1"), this);
    MakeHeading(label1, 5520, 2280);
    auto *label2 = MakeHeading(new ClickLabel(QStringLiteral("Label2"), this), 8040, 2295);
    auto *label3 = MakeHeading(new ClickLabel(QStringLiteral("Label3"), this), 10560, 2175);
    labels_ = {{QStringLiteral("Label1"), label1}, {QStringLiteral("Label2"), label2},
               {QStringLiteral("Label3"), label3}, {QStringLiteral("Label11"), label11}};

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

    boxes_.insert(QStringLiteral("Text3"), MakeColumn(this, QStringLiteral("Text3"), 240, 2775, false));
    boxes_.insert(QStringLiteral("Text2"), MakeColumn(this, QStringLiteral("Text2"), 3000, 2535, true));
    boxes_.insert(QStringLiteral("Text5"), MakeColumn(this, QStringLiteral("Text5"), 5520, 2535, false));
    boxes_.insert(QStringLiteral("Text6"), MakeColumn(this, QStringLiteral("Text6"), 8040, 2535, false));
    boxes_.insert(QStringLiteral("Text8"), MakeColumn(this, QStringLiteral("Text8"), 10560, 2415, false));

    explainer_ = new MarkExplainer(Box(QStringLiteral("Text6")), Box(QStringLiteral("Text8")), this);

    // Tab leads from the title straight into the poem.
    QWidget::setTabOrder(text4_, Box(QStringLiteral("Text2")));

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
        buttons_.insert(button->objectName(), button);
    }
    connect(label1, &ClickLabel::doubleClicked, this, &Form1::Label1_DblClick);

    SetBoxText(text4_, kInitialTitle);
    SetBoxText(Box(QStringLiteral("Text2")), kInitialPoem);
    SelectWhileInitial(text4_, kInitialTitle);
    KeepDraft();

    BindKey(QKeySequence::Save, [this] { Command7_Click(); });

    // Load: a fresh connection and recordset, then over the launcher.
    Load();
}

QPlainTextEdit *Form1::Box(const QString &name) const { return boxes_.value(name); }

QString Form1::Text(const QString &box) const
{
    if (box == QLatin1String("Text4"))
        return BoxText(text4_);
    if (QPlainTextEdit *b = Box(box))
        return BoxText(b);
    return {};
}

void Form1::SetText(const QString &box, const QString &text)
{
    if (box == QLatin1String("Text4"))
        SetBoxText(text4_, text);
    else if (QPlainTextEdit *b = Box(box))
        SetBoxText(b, text);
}

QString Form1::Caption(const QString &control) const
{
    if (QLabel *l = labels_.value(control))
        return l->text();
    if (QPushButton *b = buttons_.value(control))
        return b->text();
    return {};
}

void Form1::SetCaption(const QString &control, const QString &text)
{
    if (QLabel *l = labels_.value(control))
        l->setText(text);
    else if (QPushButton *b = buttons_.value(control))
        b->setText(text);
}

ComposeTexts Form1::Texts() const
{
    ComposeTexts t;
    t.text2 = Text(QStringLiteral("Text2"));
    t.text4 = Text(QStringLiteral("Text4"));
    t.text5 = Text(QStringLiteral("Text5"));
    t.text6 = Text(QStringLiteral("Text6"));
    t.text8 = Text(QStringLiteral("Text8"));
    t.label1 = Caption(QStringLiteral("Label1"));
    t.label2 = Caption(QStringLiteral("Label2"));
    t.label3 = Caption(QStringLiteral("Label3"));
    t.command2 = Caption(QStringLiteral("Command2"));
    return t;
}

void Form1::SetTexts(const ComposeTexts &t)
{
    SetText(QStringLiteral("Text2"), t.text2);
    SetText(QStringLiteral("Text4"), t.text4);
    SetText(QStringLiteral("Text5"), t.text5);
    SetText(QStringLiteral("Text6"), t.text6);
    SetText(QStringLiteral("Text8"), t.text8);
    SetCaption(QStringLiteral("Label1"), t.label1);
    SetCaption(QStringLiteral("Label2"), t.label2);
    SetCaption(QStringLiteral("Label3"), t.label3);
    SetCaption(QStringLiteral("Command2"), t.command2);
}

WorkOnScreen Form1::Work() const
{
    WorkOnScreen w;
    w.title = Text(QStringLiteral("Text4"));
    w.poem = Text(QStringLiteral("Text2"));
    w.pattern = Text(QStringLiteral("Text5"));
    w.tuneName = Caption(QStringLiteral("Label1"));
    w.patternBook = Caption(QStringLiteral("Command3"));
    return w;
}

Form1 *Form1::Find() { return AppContext::Instance().Windows().Get<Form1>(window::kCompose); }

Form1 *Form1::FindOrCreate() { return AppContext::Instance().Windows().FindOrCreate<Form1>(window::kCompose); }

void Form1::ShowTune(const TuneRow &tune) { ShowTune(tune.name, tune.pattern, tune.explanation); }

void Form1::SetWork(const QString &title, const QString &poem)
{
    SetText(QStringLiteral("Text4"), title);
    SetText(QStringLiteral("Text2"), poem);
}

void Form1::PutWorkBack(const QString &title, const QString &storedPoem, const QString &tuneName)
{
    SetWork(title, PoemFromStored(storedPoem));
    KeepDraft();
    ShowTune(TuneOfWork(AppContext::Instance().Store().Rs(), title, tuneName));
}

void Form1::ShowTune(const QString &name, const QString &storedPattern, const QString &storedExplanation)
{
    for (const char *box : {"Text3", "Text5", "Text6", "Text8"})
        SetText(QLatin1String(box), QString());
    SetCaption(QStringLiteral("Label1"), name);
    SetCaption(QStringLiteral("Label11"), name);
    SetText(QStringLiteral("Text5"), PatternDisplayForm(storedPattern));
    SetText(QStringLiteral("Text3"), ExplanationDisplayForm(storedExplanation));
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
    const QString now = Caption(QStringLiteral("Command2"));
    SetCaption(QStringLiteral("Command2"), now == kNewRhyme ? kPingshui : kNewRhyme);
}

void Form1::Command3_Click()
{
    const QString now = Caption(QStringLiteral("Command3"));
    SetCaption(QStringLiteral("Command3"), now == kCommonBook ? kBaixiangBook : kCommonBook);
}

void Form1::Command4_Click()
{
    AppContext &app = AppContext::Instance();
    app.patternBook = Caption(QStringLiteral("Command3"));
    app.Windows().OpenFresh(window::kPatternBrowser);
}

void Form1::Command8_Click() { AppContext::Instance().Windows().OpenFresh(window::kWorksBrowser); }

void Form1::Command5_Click()
{
    if (MayClose())
        CloseWindow();
}

Draft Form1::CurrentDraft() const { return {Text(QStringLiteral("Text4")), Text(QStringLiteral("Text2"))}; }

void Form1::KeepDraft() { kept_ = CurrentDraft(); }

bool Form1::HasUnsavedWriting() const { return versilo::HasUnsavedWriting(CurrentDraft(), kept_); }

bool Form1::MayClose()
{
    return !HasUnsavedWriting() || AppContext::Instance().Dialog().Ask(kAskDiscard);
}

void Form1::Command6_Click()
{
    for (const char *box : {"Text2", "Text3", "Text5", "Text6", "Text8"})
        SetText(QLatin1String(box), QString());
    for (const char *label : {"Label1", "Label2", "Label3", "Label11"})
        SetCaption(QLatin1String(label), QString());
    SetText(QStringLiteral("Text4"), QString());
}

void Form1::Command7_Click()
{
    AppContext &app = AppContext::Instance();
    const Draft saving = CurrentDraft();
    const SaveResult result = SaveWork(Work(), app.Store(), app.Dialog());
    if (result == SaveResult::Added || result == SaveResult::Overwritten)
        kept_ = saving;
}

void Form1::Label1_DblClick()
{
    SetText(QStringLiteral("Text4"), Caption(QStringLiteral("Label1")) + QStringLiteral("."));
}

}  // namespace versilo
