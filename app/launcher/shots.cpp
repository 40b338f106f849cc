// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-shots OUTDIR: draws every window of this build offscreen, as a
// writer would use it, and writes one PNG per window (Form10.png, Form1.png,
// Form2.png, Form3.png, Form4.png, Form5.png, Form9.png, Form8.png), and the
// composition window once more with the explanation of a mark
// (Form1-explain.png). The database is made afresh from the seed data in
// a temporary folder; the program's own mvtrakp.m is never touched.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolTip>
#include <algorithm>
#include <cstdio>

#include "appcontext.h"
#include "dialogs.h"
#include "gateway.h"
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

// 春望 with a slip: 斤 does not rhyme with 深 心 簪.
const QString kSlipPoem = QStringLiteral(
    "国破山河在，城春草木深。\r\n"
    "感时花溅泪，恨别鸟惊心。\r\n"
    "烽火连三月，家书抵万斤。\r\n"
    "白头搔更短，浑欲不胜簪。\r\n");

// The composition window with the pointer resting on a mark of the tone
// column: the tooltip is a window of its own, so it is drawn onto the
// picture where it stands.
bool ShootTooltip(QWidget *form1, int line, int position, const QDir &out)
{
    auto *text6 = qobject_cast<QPlainTextEdit *>(Control(form1, QStringLiteral("Text6")));
    if (!text6)
        return false;
    const QTextBlock block = text6->document()->findBlockByNumber(line);
    if (!block.isValid() || position >= block.length() - 1)
        return false;
    QTextCursor at(block);
    at.setPosition(block.position() + position);
    const QPoint inside = text6->cursorRect(at).center() + QPoint(3, 0);
    QHelpEvent help(QEvent::ToolTip, inside, text6->viewport()->mapToGlobal(inside));
    QApplication::sendEvent(text6->viewport(), &help);
    Settle();
    QWidget *tip = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible())
            tip = w;
    }
    if (!tip) {
        std::fprintf(stderr, "versilo-shots: no tooltip\n");
        return false;
    }
    QPixmap picture = form1->grab();
    const QPixmap tipPicture = tip->grab();
    QPoint where = tip->pos() - form1->mapToGlobal(QPoint(0, 0));
    where.setX(std::clamp(where.x(), 0, std::max(0, picture.width() - tipPicture.width())));
    where.setY(std::clamp(where.y(), 0, std::max(0, picture.height() - tipPicture.height())));
    {
        QPainter painter(&picture);
        painter.drawPixmap(where, tipPicture);
        // The pointer.
        const QPoint p = text6->viewport()->mapTo(form1, inside);
        const QPolygon arrow({p, p + QPoint(0, 16), p + QPoint(4, 12), p + QPoint(8, 19),
                              p + QPoint(10, 18), p + QPoint(7, 11), p + QPoint(12, 11)});
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawPolygon(arrow);
    }
    QToolTip::hideText();
    const QString file = out.filePath(QStringLiteral("Form1-explain.png"));
    if (!picture.save(file)) {
        std::fprintf(stderr, "versilo-shots: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

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
    QWidget *launcher = windows.Show(window::kLauncher);
    launcher->move(0, 0);
    Settle();
    int shots = Shoot(window::kLauncher, out) ? 1 : 0;

    // The composition window, from the launcher's 诗词写作.
    if (windows.IsRegistered(window::kCompose)) {
        Click(launcher, QStringLiteral("Image2"));
        QWidget *form1 = windows.Find(window::kCompose);
        if (form1) {
            SetText(form1, QStringLiteral("Text4"), kTitle);
            SetText(form1, QStringLiteral("Text2"), kPoem);

            // A tune from the book, through the pattern browser.
            if (windows.IsRegistered(window::kPatternBrowser)) {
                Click(form1, QStringLiteral("Command4"));
                if (QWidget *form2 = windows.Find(window::kPatternBrowser)) {
                    shots += Shoot(window::kPatternBrowser, out);
                    const QString label = FindListLabel(form2, QStringLiteral("Label5_"), kTune,
                                                        QStringLiteral("Image4"), 20);
                    if (!label.isEmpty())
                        Click(form2, label);
                    else
                        std::fprintf(stderr, "versilo-shots: tune %s not in the book\n",
                                     qPrintable(kTune));
                    if (windows.Find(window::kPatternBrowser))
                        windows.Close(window::kPatternBrowser);
                    Settle();
                }
            }
            // Both checks under 平水韵; the picture shows the comparison with the tune.
            Click(form1, QStringLiteral("Command2"));
            Click(form1, QStringLiteral("Command9"));
            Click(form1, QStringLiteral("Command1"));
            shots += Shoot(window::kCompose, out);

            // Save the work, then list it in the works browser.
            if (windows.IsRegistered(window::kWorksBrowser)) {
                Click(form1, QStringLiteral("Command7"));
                Click(form1, QStringLiteral("Command8"));
                shots += Shoot(window::kWorksBrowser, out);
                if (windows.Find(window::kWorksBrowser))
                    windows.Close(window::kWorksBrowser);
                Settle();
            }

            // A regulated poem with a slip, annotated under 平水韵; the
            // pointer rests on the mark of the slip.
            Click(form1, QStringLiteral("Command6"));
            SetText(form1, QStringLiteral("Text4"), QStringLiteral("春望"));
            SetText(form1, QStringLiteral("Text2"), kSlipPoem);
            Click(form1, QStringLiteral("Command9"));
            shots += ShootTooltip(form1, 2, 9, out) ? 1 : 0;
        }
    }

    // The knowledge pages, from the launcher's 诗词常识, on their second page.
    if (windows.IsRegistered(window::kKnowledge)) {
        Click(launcher, QStringLiteral("Image17"));
        if (QWidget *form4 = windows.Find(window::kKnowledge)) {
            Click(form4, QStringLiteral("Command4"));
            shots += Shoot(window::kKnowledge, out);
        }
    }

    // The poetry library, from 诗词阅读: the poems of 李白, one of them open.
    if (windows.IsRegistered(window::kLibrary)) {
        Click(launcher, QStringLiteral("Image14"));
        if (QWidget *form5 = windows.Find(window::kLibrary)) {
            const QString author = FindListLabel(form5, QStringLiteral("Label5_"), QStringLiteral("李白"),
                                                 QStringLiteral("Image4"), 40);
            if (!author.isEmpty())
                Click(form5, author);
            const QString poem = FindListLabel(form5, QStringLiteral("Label4_"), QStringLiteral("黄鹤楼送孟浩然之广陵"),
                                               QStringLiteral("Image2"), 3);
            Click(form5, poem.isEmpty() ? QStringLiteral("Label4_0") : poem);
            shots += Shoot(window::kLibrary, out);
        }
    }

    // Works management and printing, from their launcher buttons, with a few
    // more works beside the saved one; the saved one is chosen.
    const bool worksWindows = windows.IsRegistered(window::kWorksManager) || windows.IsRegistered(window::kPrinting);
    if (worksWindows && AppContext::Instance().Store().Connect()) {
        const char *const more[][3] = {
            {"静夜思", "床前明月光，|疑是地上霜。|举头望明月，|低头思故乡。|", "李白"},
            {"春晓", "春眠不觉晓，|处处闻啼鸟。|夜来风雨声，|花落知多少。|", "孟浩然"},
            {"登鹳雀楼", "白日依山尽，|黄河入海流。|欲穷千里目，|更上一层楼。|", "王之涣"},
            {"江雪", "千山鸟飞绝，|万径人踪灭。|孤舟蓑笠翁，|独钓寒江雪。|", "柳宗元"},
        };
        for (const auto &work : more) {
            WorkRow row;
            row.title = QString::fromUtf8(work[0]);
            row.poem = QString::fromUtf8(work[1]);
            row.author = QString::fromUtf8(work[2]);
            InsertRow(AppContext::Instance().Store().Rs(), kWorksTable, row);
        }
    }
    const std::pair<QString, const char *> worksForms[] = {{window::kWorksManager, "Image18"},
                                                           {window::kPrinting, "Image16"}};
    for (const auto &[form, button] : worksForms) {
        if (!windows.IsRegistered(form))
            continue;
        Click(launcher, QLatin1String(button));
        if (QWidget *w = windows.Find(form)) {
            Click(w, QStringLiteral("Label4_0"));
            if (form == window::kWorksManager) {
                SetText(w, QStringLiteral("Text2"), QStringLiteral("苏轼"));
                SetText(w, QStringLiteral("Text3"), QStringLiteral("1076年中秋"));
            }
            shots += Shoot(form, out);
            windows.Close(form);
            Settle();
        }
    }

    // Pattern management from the launcher's 格律管理: a tune of 白香词谱
    // chosen and open for editing.
    if (windows.IsRegistered(window::kPatternManager)) {
        Click(launcher, QStringLiteral("Image15"));
        if (QWidget *form6 = windows.Find(window::kPatternManager)) {
            Click(form6, QStringLiteral("Label4_3"));
            Click(form6, QStringLiteral("Image5"));
            shots += Shoot(window::kPatternManager, out);
            windows.Close(window::kPatternManager);
            Settle();
        }
    }

    // Rhyme dictionary maintenance from the launcher's 汉字管理: the keypad
    // typing "dong", then the entries it finds with the first one shown.
    if (windows.IsRegistered(window::kDictionary)) {
        Click(launcher, QStringLiteral("Image9"));
        if (QWidget *form11 = windows.Find(window::kDictionary)) {
            Click(form11, QStringLiteral("Command1"));
            if (QWidget *form7 = windows.Find(window::kKeypad)) {
                for (int key : {3, 14, 13, 6})   // d o n g
                    Click(form7, QStringLiteral("Command2_%1").arg(key));
                shots += Shoot(window::kKeypad, out);
                Click(form7, QStringLiteral("Command1"));
            }
            Click(form11, QStringLiteral("Label3_0"));
            shots += Shoot(window::kDictionary, out);
            windows.Close(window::kDictionary);
            Settle();
        }
    }

    bool failed = false;
    for (const QString &message : std::as_const(dialogs.told)) {
        std::fprintf(stderr, "versilo-shots: message: %s\n", qPrintable(message));
        failed = failed || message.startsWith(QStringLiteral("无法打开"));
    }
    // Every window this build has must have been drawn.
    int expected = 0;
    for (const QString &form : {window::kLauncher, window::kCompose, window::kPatternBrowser, window::kWorksBrowser,
                                window::kKnowledge, window::kLibrary, window::kWorksManager, window::kPrinting,
                                window::kPatternManager, window::kKeypad, window::kDictionary})
        expected += windows.IsRegistered(form) ? 1 : 0;
    expected += windows.IsRegistered(window::kCompose) ? 1 : 0;   // the explanation
    context.SetDialogs(nullptr);
    windows.CloseAll();
    Settle();
    return !failed && shots == expected ? 0 : 1;
}
