// versilo-shots OUTDIR: draws every window of this build offscreen, as a
// writer would use it, and writes one PNG per window (Form10.png, Form1.png,
// Form2.png, Form3.png). The database is made afresh from the seed data in
// a temporary folder; the program's own mvtrakp.m is never touched.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextEdit>
#include <cstdio>

#include "appcontext.h"
#include "dialogs.h"
#include "launcher.h"
#include "widgets.h"
#include "windowregistry.h"

using namespace versilo;

namespace {

WindowRegistry &Windows() { return AppContext::Instance().Windows(); }

void Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QWidget *Control(QWidget *window, const QString &name)
{
    return window ? window->findChild<QWidget *>(name) : nullptr;
}

void SendMouse(QWidget *w, QEvent::Type type, QPoint local)
{
    QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A click as the writer makes it: a button is clicked, anything else gets a
// press and a release in its middle.
bool Click(QWidget *window, const QString &name)
{
    QWidget *w = Control(window, name);
    if (!w) {
        std::fprintf(stderr, "versilo-shots: %s has no control %s\n",
                     qPrintable(window ? window->objectName() : QStringLiteral("?")),
                     qPrintable(name));
        return false;
    }
    if (auto *b = qobject_cast<QAbstractButton *>(w)) {
        b->click();
    } else {
        const QPoint mid = w->rect().center();
        SendMouse(w, QEvent::MouseButtonPress, mid);
        SendMouse(w, QEvent::MouseButtonRelease, mid);
    }
    Settle();
    return true;
}

void SetText(QWidget *window, const QString &name, const QString &text)
{
    QWidget *w = Control(window, name);
    if (auto *line = qobject_cast<QLineEdit *>(w))
        line->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        plain->setPlainText(text);
    else if (auto *rich = qobject_cast<QTextEdit *>(w))
        rich->setPlainText(text);
}

bool Shoot(const QString &form, const QDir &out)
{
    QWidget *w = Windows().Find(form);
    if (!w)
        return false;
    Settle();
    const QString file = out.filePath(form + QStringLiteral(".png"));
    if (!w->grab().save(file)) {
        std::fprintf(stderr, "versilo-shots: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// The label of a list that shows the given text, paging with the next-page
// button until it appears.
QString FindListLabel(QWidget *window, const QString &prefix, const QString &text,
                      const QString &nextPage, int pages)
{
    for (int page = 0; page < pages; ++page) {
        for (QLabel *l : window->findChildren<QLabel *>()) {
            if (l->objectName().startsWith(prefix) && l->text() == text)
                return l->objectName();
        }
        if (!Click(window, nextPage))
            break;
    }
    return QString();
}

const QString kTitle = QStringLiteral("水调歌头.明月几时有");
const QString kTune = QStringLiteral("水调歌头");
// One 句 a line, so that line k of the poem meets line k of the pattern.
const QString kPoem = QStringLiteral(
    "明月几时有，\r\n"
    "把酒问青天。\r\n"
    "不知天上宫阙，\r\n"
    "今夕是何年。\r\n"
    "我欲乘风归去，\r\n"
    "又恐琼楼玉宇，\r\n"
    "高处不胜寒。\r\n"
    "起舞弄清影，\r\n"
    "何似在人间。\r\n"
    "转朱阁，\r\n"
    "低绮户，\r\n"
    "照无眠。\r\n"
    "不应有恨，\r\n"
    "何事长向别时圆。\r\n"
    "人有悲欢离合，\r\n"
    "月有阴晴圆缺，\r\n"
    "此事古难全。\r\n"
    "但愿人长久，\r\n"
    "千里共婵娟。\r\n");

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: versilo-shots OUTDIR\n");
        return 2;
    }
    QDir out(args.at(1));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "versilo-shots: cannot make %s\n", qPrintable(args.at(1)));
        return 1;
    }
    PrepareApplication(app);

    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        std::fprintf(stderr, "versilo-shots: no temporary folder\n");
        return 1;
    }
    QString seed = QStringLiteral(VERSILO_SOURCE_DIR "/data/seed");
    if (!QDir(seed).exists())
        seed.clear();   // the seed compiled into the program
    AppContext &context = AppContext::Instance();
    context.Store().SetLocation(StoreLocation{tmp.path(), seed});
    ScriptedDialogs dialogs;   // every question answered yes
    context.SetDialogs(&dialogs);

    WindowRegistry &windows = Windows();
    RegisterAllWindows(windows);
    QWidget *launcher = windows.Show(QStringLiteral("Form10"));
    launcher->move(0, 0);
    Settle();
    int shots = Shoot(QStringLiteral("Form10"), out) ? 1 : 0;

    // The composition window, from the launcher's 诗词写作.
    if (windows.IsRegistered(QStringLiteral("Form1"))) {
        Click(launcher, QStringLiteral("Image2"));
        QWidget *form1 = windows.Find(QStringLiteral("Form1"));
        if (form1) {
            SetText(form1, QStringLiteral("Text4"), kTitle);
            SetText(form1, QStringLiteral("Text2"), kPoem);

            // A tune from the book, through the pattern browser.
            if (windows.IsRegistered(QStringLiteral("Form2"))) {
                Click(form1, QStringLiteral("Command4"));
                if (QWidget *form2 = windows.Find(QStringLiteral("Form2"))) {
                    shots += Shoot(QStringLiteral("Form2"), out);
                    const QString label = FindListLabel(form2, QStringLiteral("Label5_"), kTune,
                                                        QStringLiteral("Image4"), 20);
                    if (!label.isEmpty())
                        Click(form2, label);
                    else
                        std::fprintf(stderr, "versilo-shots: tune %s not in the book\n",
                                     qPrintable(kTune));
                    if (windows.Find(QStringLiteral("Form2")))
                        windows.Close(QStringLiteral("Form2"));
                    Settle();
                }
            }
            // Both checks under 平水韵; the picture shows the comparison with the tune.
            Click(form1, QStringLiteral("Command2"));
            Click(form1, QStringLiteral("Command9"));
            Click(form1, QStringLiteral("Command1"));
            shots += Shoot(QStringLiteral("Form1"), out);

            // Save the work, then list it in the works browser.
            if (windows.IsRegistered(QStringLiteral("Form3"))) {
                Click(form1, QStringLiteral("Command7"));
                Click(form1, QStringLiteral("Command8"));
                shots += Shoot(QStringLiteral("Form3"), out);
            }
        }
    }

    bool failed = false;
    for (const QString &message : std::as_const(dialogs.told)) {
        std::fprintf(stderr, "versilo-shots: message: %s\n", qPrintable(message));
        failed = failed || message.startsWith(QStringLiteral("无法打开"));
    }
    // Every window this build has must have been drawn.
    int expected = 0;
    for (const char *form : {"Form10", "Form1", "Form2", "Form3"})
        expected += windows.IsRegistered(QLatin1String(form)) ? 1 : 0;
    context.SetDialogs(nullptr);
    windows.CloseAll();
    Settle();
    return !failed && shots == expected ? 0 : 1;
}
