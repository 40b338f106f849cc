// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcher.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "appcontext.h"
#include "art.h"
#include "screenfit.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

namespace {

// A picture that lets the mouse through to the launcher (so it drags); a
// screen reader reads the words it shows.
QLabel *Picture(const QString &name, const QPixmap &art, const QRect &geometry,
                const QString &words, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAccessibleName(words);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setScaledContents(true);
    label->setGeometry(geometry);
    label->setPixmap(art);
    return label;
}

}  // namespace

Form10::Form10(QWidget *parent)
    : VersiloWindow(window::kLauncher, 13095, 8760, parent),
      end_(&Form10::EndProgram),
      openUrl_([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
    new BackgroundPicture(QStringLiteral("Image1"), LauncherBackground(size()), this);

    const QRect inscription = TwRect(1500, 1140, 450, 2700);
    Picture(QStringLiteral("Image6"),
            InscriptionArt(inscription.size(), QStringLiteral("诗言志歌永言")), inscription,
            QStringLiteral("诗言志歌永言"), this);
    const QRect seal = TwRect(1530, 4020, 390, 390);
    Picture(QStringLiteral("Image7"), SealArt(seal.size(), QStringLiteral("吟")), seal,
            QStringLiteral("吟"), this);

    const QRect name = TwRect(10200, 3120, 375, 2550);
    Picture(QStringLiteral("Image5"), ProductNameArt(name.size()), name,
            QStringLiteral("韵律 Versilo"), this);

    struct Entry {
        const char *control;
        double left;
        const char *text;
    };
    const Entry entries[] = {
        {"Image2", 9585, "诗词写作"},  {"Image17", 8970, "诗词常识"},
        {"Image15", 8355, "格律管理"}, {"Image14", 7740, "诗词阅读"},
        {"Image18", 7125, "作品管理"}, {"Image16", 6510, "诗词打印"},
        {"Image9", 5880, "汉字管理"},  {"Image8", 5280, "软件更新"},
        {"Image3", 4680, "结束退出"},
    };
    QHash<QString, PictureButton *> buttons;
    for (const Entry &e : entries) {
        auto *b = new PictureButton(QLatin1String(e.control), QString::fromUtf8(e.text),
                                    PictureButton::Orientation::Vertical, this);
        b->setGeometry(TwRect(e.left, 3840, 375, 1305));
        b->setFocusPolicy(Qt::StrongFocus);
        if (!keyButtons_.isEmpty())
            setTabOrder(keyButtons_.last(), b);
        keyButtons_.append(b);
        buttons.insert(QLatin1String(e.control), b);
    }
    auto *credit = new PictureButton(QStringLiteral("Image4"), QStringLiteral("韵律书斋制"),
                                     PictureButton::Orientation::Vertical, this);
    credit->setGeometry(TwRect(4080, 3840, 375, 2550));
    credit->SetArt(MakerCreditArt(credit->size()));
    credit->setCursor(Qt::ArrowCursor);

    // 诗词写作 opens on the release of the mouse button, wherever it is.
    connect(buttons.value(QStringLiteral("Image2")), &PictureButton::released, this,
            &Form10::Image2_MouseUp);
    const std::pair<const char *, QString> opens[] = {
        {"Image17", window::kKnowledge},     {"Image15", window::kPatternManager},
        {"Image14", window::kLibrary},       {"Image18", window::kWorksManager},
        {"Image16", window::kPrinting},      {"Image9", window::kDictionary},
    };
    for (const auto &[control, target] : opens) {
        connect(buttons.value(QLatin1String(control)), &PictureButton::clicked, this,
                [this, target] { OpenAfresh(target); });
    }
    connect(buttons.value(QStringLiteral("Image8")), &PictureButton::clicked, this,
            &Form10::Image8_Click);
    connect(buttons.value(QStringLiteral("Image3")), &PictureButton::clicked, this,
            &Form10::Image3_Click);

    // Start in the middle of the primary screen, within its free area.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(KeptOnScreen(screen->availableGeometry().center() - rect().center(), size()));
}

void Form10::showEvent(QShowEvent *e)
{
    VersiloWindow::showEvent(e);
    // The keyboard starts on 诗词写作, as the eye does.
    if (!focusWidget() && !keyButtons_.isEmpty())
        keyButtons_.first()->setFocus(Qt::ActiveWindowFocusReason);
}

void Form10::keyPressEvent(QKeyEvent *e)
{
    int step = 0;
    if ((e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (e->key() == Qt::Key_Left || e->key() == Qt::Key_Down)
            step = 1;
        else if (e->key() == Qt::Key_Right || e->key() == Qt::Key_Up)
            step = -1;
    }
    const qsizetype n = keyButtons_.size();
    if (step == 0 || n == 0) {
        VersiloWindow::keyPressEvent(e);
        return;
    }
    e->accept();
    const qsizetype at = keyButtons_.indexOf(focusWidget());
    const qsizetype next = at < 0 ? (step > 0 ? 0 : n - 1) : (at + step + n) % n;
    keyButtons_[next]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void Form10::OpenAfresh(const QString &form)
{
    OpenFromLauncher(AppContext::Instance().Windows(), form);
}

void Form10::Image2_MouseUp() { OpenAfresh(window::kCompose); }

QUrl WritersGuide(const QString &programDir)
{
    const QDir bin(programDir);
    for (const QString &relative : {QStringLiteral("../share/doc/versilo/guide.md"),
                                    QStringLiteral("../../docs/guide.md")}) {
        const QFileInfo guide(bin.filePath(relative));
        if (guide.isFile())
            return QUrl::fromLocalFile(guide.canonicalFilePath());
    }
    return {};
}

void Form10::Image8_Click()
{
    const QUrl guide = WritersGuide(QCoreApplication::applicationDirPath());
    if (openUrl_ && guide.isValid())
        openUrl_(guide);
}

void Form10::Image3_Click()
{
    // Every window may keep the program open: the composition window asks
    // before unsaved writing goes.
    for (QWidget *w : AppContext::Instance().Windows().All()) {
        auto *window = qobject_cast<VersiloWindow *>(w);
        if (window && window != this && !window->MayClose())
            return;
    }
    if (end_)
        end_();
}

void Form10::closeEvent(QCloseEvent *e)
{
    // The program ends (or stays, when a window keeps it) as 结束退出 decides.
    e->ignore();
    Image3_Click();
}

void Form10::EndProgram()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

void RegisterLauncherWindow(WindowRegistry &registry)
{
    registry.Register(window::kLauncher, [] { return new Form10; });
}

}  // namespace versilo
