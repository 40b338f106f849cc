// SPDX-License-Identifier: GPL-3.0-or-later
// Which windows this build has: the launcher always; the others when their
// libraries are linked in.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include "appicon.h"
#include "art.h"
#include "launcher.h"
#include "widgets.h"
#include "windowregistry.h"

#ifdef VERSILO_WITH_COMPOSE
#include "compose.h"
#include "form1.h"
#endif
#ifdef VERSILO_WITH_PATTERNS
#include "patterns.h"
#endif
#ifdef VERSILO_WITH_WORKS
#include "works.h"
#endif
#ifdef VERSILO_WITH_REFERENCE
#include "reference.h"
#endif
#ifdef VERSILO_WITH_DICTIONARY
#include "dictionary.h"
#endif

namespace versilo {

void RegisterAllWindows(WindowRegistry &registry)
{
    RegisterLauncherWindow(registry);
#ifdef VERSILO_WITH_COMPOSE
    RegisterComposeWindows(registry);
#endif
#ifdef VERSILO_WITH_PATTERNS
    RegisterPatternWindows(registry);
#endif
#ifdef VERSILO_WITH_WORKS
    RegisterWorksWindows(registry);
#endif
#ifdef VERSILO_WITH_REFERENCE
    RegisterReferenceWindows(registry);
#endif
#ifdef VERSILO_WITH_DICTIONARY
    RegisterDictionaryWindows(registry);
#endif
}

namespace {

// Whether the launcher keeps the window that is there rather than open
// it afresh. The composition window is kept while it is open or holds
// unsaved writing (the writer raised the launcher over it and pressed
// 诗词写作 again); any other window while it holds something the writer
// chose to keep when asked.
bool KeepsExisting(QWidget *existing)
{
    auto *window = qobject_cast<VersiloWindow *>(existing);
    if (!window)
        return false;
#ifdef VERSILO_WITH_COMPOSE
    if (auto *form1 = qobject_cast<Form1 *>(window))
        return form1->isVisible() || form1->HasUnsavedWriting();
#endif
    return !window->MayClose();
}

// Brings a window to the front over the launcher, restored if minimised.
void BringForward(WindowRegistry &registry, const QString &name)
{
    QWidget *w = registry.Find(name);
    if (!w)
        return;
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    if (QWidget *launcher = registry.Launcher())
        w->move(launcher->pos());
    registry.Show(name);
}

}  // namespace

QWidget *OpenFromLauncher(WindowRegistry &registry, const QString &name)
{
    // Windows that this build does not have: nothing happens.
    if (!registry.IsRegistered(name))
        return nullptr;
    if (!KeepsExisting(registry.Find(name)))
        return registry.OpenFresh(name);
    BringForward(registry, name);
    // The browsers open over the composition window stay over it.
    if (name == window::kCompose) {
        for (const QString &over : {window::kPatternBrowser, window::kWorksBrowser}) {
            QWidget *w = registry.Find(over);
            if (w && w->isVisible())
                BringForward(registry, over);
        }
    }
    return registry.Find(name);
}

void PrepareApplication(QApplication &app)
{
    QCoreApplication::setApplicationName(QStringLiteral("Versilo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("14.0"));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // The seal as window icon; the desktop name ties the windows to the
    // installed desktop entry and its icon.
    QApplication::setWindowIcon(AppIcon());
    QGuiApplication::setDesktopFileName(kDesktopId);

    // The standard buttons of the message boxes read 是, 否, 确定.
    auto *qtbase = new QTranslator(&app);
    if (qtbase->load(QStringLiteral("qtbase_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtbase);
    else
        delete qtbase;

    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    // Paper and ink for everything the windows do not colour themselves;
    // text boxes stay white.
    QPalette pal = QApplication::style()->standardPalette();
    pal.setColor(QPalette::Window, ink::kPaper);
    pal.setColor(QPalette::WindowText, ink::kInk);
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::AlternateBase, ink::kPaper);
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Button, ink::kSlip);
    pal.setColor(QPalette::ButtonText, ink::kInk);
    pal.setColor(QPalette::Highlight, QColor(0x8C, 0x2A, 0x1C));
    pal.setColor(QPalette::HighlightedText, QColor(0xFB, 0xF3, 0xE6));
    pal.setColor(QPalette::ToolTipBase, ink::kPaper);
    pal.setColor(QPalette::ToolTipText, ink::kInk);
    QApplication::setPalette(pal);
    QApplication::setFont(SongFont(10.5));
}

}  // namespace versilo
