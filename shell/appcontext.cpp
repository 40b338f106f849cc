// SPDX-License-Identifier: GPL-3.0-or-later
#include "appcontext.h"

#include <QCoreApplication>

#include "applocation.h"
#include "dialogs.h"
#include "safety.h"
#include "windowregistry.h"

namespace versilo {

struct AppContext::Impl {
    DataStore store;
    MessageBoxDialogs boxes;
    Dialogs *dialogs = nullptr;
    WindowRegistry windows;
};

AppContext::AppContext() : d(std::make_unique<Impl>())
{
    d->store.SetLocation(StoreLocation{AppWriteDir(), QString()});
    InstallStoreWaitCursor();
}

AppContext &AppContext::Instance()
{
    static AppContext context;
    return context;
}

DataStore &AppContext::Store() { return d->store; }

Dialogs &AppContext::Dialog()
{
    if (d->dialogs)
        return *d->dialogs;
    return d->boxes;
}

void AppContext::SetDialogs(Dialogs *dialogs) { d->dialogs = dialogs; }

WindowRegistry &AppContext::Windows() { return d->windows; }

void AppContext::Reset()
{
    d->windows.CloseAll();
    // Windows are discarded with deleteLater; finish that now so the next
    // test starts without leftovers.
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    patternBook.clear();
    keypadLetters.clear();
    poemSearchPending = false;
    authorSearchPending = false;
}

}  // namespace versilo
